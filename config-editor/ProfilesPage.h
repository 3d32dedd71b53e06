// The Profiles tab: the list of the folder's profiles and the selected one's fields, its
// weekly schedule in the editor first. While the profile does not use its schedule, the
// Schedule tab says so, with a button that turns it on. The receiver lists offer the
// folder's receivers and mark names that match none.
#pragma once

#include <QWidget>
#include <memory>

#include "config-editor/ObjectFiles.h"
#include "config-editor/ObjectListPanel.h"

class QCheckBox;
class QFrame;
class QTableWidget;
class QTabWidget;

namespace ConfigEditor {

class EditorHost;
class FieldForm;
class ReceiverListField;
class ScheduleEditorPanel;
class UserQuestions;

class ProfilesPage : public QWidget {
  Q_OBJECT
 public:
  ProfilesPage(ProfileFiles& profiles, EditorHost& host, UserQuestions& questions,
               std::function<bool(int index)> save, QWidget* parent = nullptr);

  ObjectListPanel& List() { return *list_; }
  ScheduleEditorPanel& Editor() { return *editor_; }
  // The selected profile when it can be edited; none otherwise.
  std::shared_ptr<Halvane_Config::cProfile> Current() const;
  // Looking only: no field or schedule can be edited, and no entry added or removed.
  void SetReadOnly(bool readOnly);
  // The names of the folder's receivers, for the receiver lists.
  void SetReceiverNames(const QStringList& names);

 signals:
  // The selected profile was changed by the user.
  void Edited();
  // Another profile is selected, or the selected one was read again.
  void CurrentChanged();

 private:
  QWidget* CreateDetails(EditorHost& host);
  QWidget* CreateScheduleTab(EditorHost& host);
  QWidget* CreateGeneral();
  void AddReceiverList(FieldForm& form, const QString& label, const QString& name,
                       std::u16string Halvane_Config::cProfile::*member);
  QWidget* CreateConditions();
  QWidget* CreateExternal();
  QWidget* CreateSystems();
  // A form whose fields edit the selected profile.
  FieldForm* NewForm();
  void Show();
  void ShowSystems();
  void ShowScheduleNote();

  ProfileFiles& profiles_;
  ObjectListPanel* list_ = nullptr;
  QWidget* details_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  ScheduleEditorPanel* editor_ = nullptr;
  QFrame* scheduleNote_ = nullptr;
  QCheckBox* useSchedule_ = nullptr;
  std::vector<ReceiverListField*> receiverLists_;
  QTableWidget* systems_ = nullptr;
  std::vector<FieldForm*> forms_;
  // The profile the fields edit: a blank one while none is selected.
  std::shared_ptr<Halvane_Config::cProfile> shown_;
  bool showsEntry_ = false;  // shown_ is the selected entry's
  bool readOnly_ = false;
};

}  // namespace ConfigEditor
