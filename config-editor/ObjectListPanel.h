// The list of a program folder's profiles or receivers: disk identity, name and whether
// it is enabled, unsaved ones marked "*", files that cannot be loaded greyed; with New,
// Duplicate and Remove. Leaving an entry that has unsaved changes asks whether to save
// them, discard them or stay on it. Entries whose file another program changed or removed
// while they have unsaved changes here say so.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

class QPushButton;
class QTreeWidget;

namespace ConfigEditor {

class ObjectList;
class UserQuestions;

class ObjectListPanel : public QWidget {
  Q_OBJECT
 public:
  // How the panel speaks of its entries ("profile") and saves one (telling the user when
  // that failed; false then).
  struct Kind {
    QString singular;
    QString objectName;  // of the list widget: "List_Profiles"
    std::function<bool(int index)> save;
  };

  ObjectListPanel(ObjectList& list, UserQuestions& questions, Kind kind, QWidget* parent = nullptr);

  // The selected entry, or -1.
  int Current() const { return current_; }
  // Selects an entry without asking (-1: none).
  void Select(int index);
  // Shows the list's rows anew; the selection stays on its entry.
  void Refresh();
  // After entries came, went or were read again behind the panel's back: the selection
  // stays on its entry, or moves to the one in its place when it went.
  void Follow();
  // Looking only: no New, Duplicate or Remove.
  void SetReadOnly(bool readOnly);
  // What removing an entry means besides its file (who refers to it), for the question.
  void SetRemovalNote(std::function<QString(int index)> note) { removalNote_ = std::move(note); }
  // Asks about the selected entry's unsaved changes and saves or discards them; false
  // when the user chose to stay, or the save failed.
  bool SettleCurrent();

  QTreeWidget& List() { return *tree_; }

 signals:
  // Another entry is selected (or the same one was read again): show it.
  void CurrentChanged(int index);
  // Entries came or went, or were saved, discarded or read again.
  void ListChanged();

 private:
  void OnCurrentRowChanged(int row);
  void AddEntry(int index);
  void RemoveCurrent();

  ObjectList& list_;
  UserQuestions& questions_;
  Kind kind_;
  std::function<QString(int index)> removalNote_;
  QTreeWidget* tree_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* duplicate_ = nullptr;
  QPushButton* remove_ = nullptr;
  int current_ = -1;
  std::uint64_t currentId_ = 0;  // ObjectList::EntryId of the selected entry
  bool readOnly_ = false;
};

}  // namespace ConfigEditor
