// The Profiles tab: the list of the folder's profiles and the selected one's fields, its
// weekly schedule in the editor first.
#pragma once

#include <QWidget>
#include <memory>

#include "config-editor/ObjectFiles.h"
#include "config-editor/ObjectListPanel.h"

class QTableWidget;
class QTabWidget;

namespace ConfigEditor {

class EditorHost;
class FieldForm;
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

 signals:
  // The selected profile was changed by the user.
  void Edited();
  // Another profile is selected, or the selected one was read again.
  void CurrentChanged();

 private:
  QWidget* CreateDetails(EditorHost& host);
  QWidget* CreateGeneral();
  QWidget* CreateConditions();
  QWidget* CreateExternal();
  QWidget* CreateSystems();
  // A form whose fields edit the selected profile.
  FieldForm* NewForm();
  void Show();
  void ShowSystems();

  ProfileFiles& profiles_;
  ObjectListPanel* list_ = nullptr;
  QWidget* details_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  ScheduleEditorPanel* editor_ = nullptr;
  QTableWidget* systems_ = nullptr;
  std::vector<FieldForm*> forms_;
  // The profile the fields edit: a blank one while none is selected.
  std::shared_ptr<Halvane_Config::cProfile> shown_;
  bool showsEntry_ = false;  // shown_ is the selected entry's
  bool readOnly_ = false;
};

}  // namespace ConfigEditor
