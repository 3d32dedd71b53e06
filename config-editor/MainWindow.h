// The window of halvane-config: the Profiles, Calendar and Receivers tabs over one program
// folder, the log pane below them, and the menus that reach every command by keyboard. The
// title carries "*" while anything is unsaved; closing then asks to save, discard or stay.
//
// File > Open folder... and the recent folders open another program folder, once what is
// unsaved is saved or given up. A folder that cannot be written is opened read-only.
//
// Other programs may write the same files meanwhile: another window on the folder, an
// editor, a copy from a backup. The window holds the folder's lock file, so that a second
// window is told at its start; it watches the folder and checks the files whenever it is
// activated, reading again what changed where nothing is unsaved; and it never saves over a
// file that changed since it read it without asking.
#pragma once

#include <QMainWindow>

class QAction;
class QFileSystemWatcher;
class QMenu;
class QTabWidget;
class QTimer;

namespace ConfigEditor {

class CalendarPanel;
class EditorHost;
class LogPane;
class ObjectList;
class ProfilesPage;
class ReceiversPage;
class UserQuestions;
class Workspace;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(Workspace& workspace, UserQuestions& questions, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Takes the folder's lock (asking whether to open it read-only when another window has
  // it; read-only without asking when it cannot be written), reads what lies in the program
  // folder ("/" at its end) and shows it; the log pane shows what reading logs. An empty
  // calendar path means "Calendar.dat" in the folder.
  void OpenFolder(const QString& folder, const QString& calendarPath = {});
  // Opens another folder as the user asked (File > Open folder..., a recent folder): one
  // that cannot be read is refused, and what is unsaved is settled first.
  void SwitchFolder(const QString& folder);

  ProfilesPage& Profiles() { return *profiles_; }
  ReceiversPage& Receivers() { return *receivers_; }
  CalendarPanel& Calendar() { return *calendar_; }
  LogPane& Log() { return *log_; }
  EditorHost& Host() { return *host_; }
  QTabWidget& Tabs() { return *tabs_; }
  enum Tab { kProfilesTab, kCalendarTab, kReceiversTab };

  // Saves everything unsaved; false when something was left unsaved (the user was told).
  bool SaveAll();
  // Shows the title with its unsaved-changes marker, and the lists' marks, anew.
  void UpdateState();
  // Reads again what other programs changed on disk and marks what cannot be read again
  // (ObjectList::CheckDisk); the log pane tells what was found.
  void CheckDisk();
  // What Help > About shows: the program, its version and what it is for.
  static QString AboutText();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // How saving one entry or the calendar ended.
  enum class Saving {
    Saved,
    Reloaded,   // its file had changed, and the user chose to read it again
    Refused,    // fields hold refused texts: reported by the caller
    Cancelled,  // its file had changed, and the user left it unsaved
    Failed,     // the user was told why
  };

  void CreateMenus();
  // Takes the folder's lock; true when the user chose to open it read-only, as another
  // window has it.
  bool TakeLock(const QString& folder);
  void FillRecentFolders();
  // The folder first in the recent folders, or out of them.
  void RememberFolder(const QString& folder, bool keep);
  void SetReadOnly(bool readOnly);
  // Asks to save or give up what is unsaved before the window leaves it; false when the
  // user stays, or a save failed.
  bool SettleUnsaved();
  // The folder's receivers, for the profiles' receiver lists.
  void ShowReceiverNames();
  // The profiles whose receiver lists name a receiver, for the question before removing it.
  QString ProfilesNaming(int receiver) const;
  // One log line naming the files the last saves wrote.
  void LogWritten();
  // Saves made together in one durable SaveBatch.
  struct Batch;
  // Stages the save of one profile or receiver (noun says which kind) in batch, asking
  // first when its file changed on disk since it was read or written.
  Saving SaveEntry(ObjectList& list, int index, const QString& noun, Batch& batch);
  // Commits the batch and finishes its saves; one box names those that failed, and says
  // when the disk is full. True when all were saved.
  bool CommitSaves(Batch& batch);
  // For leaving an entry: saves it, telling the user what kept it unsaved.
  bool SaveLeaving(ObjectList& list, int index, const QString& noun);
  Saving SaveCalendar();
  // Asks whether to overwrite a file that changed on disk, read it again or stay.
  Saving AskAboutConflict(const QString& what, bool removed, const QString& reload);
  // One box and one log line for each entry not saved for its refused fields.
  void ReportRefused(const QStringList& entries);
  void DiscardAll();
  // Shows the entries and the calendar anew once they were read again behind the panels'
  // backs: each list's selection stays on its entry, or moves to the one in its place.
  void ShowReadAgain();
  // Tells the user that saves failed, with the reason the log pane got last.
  void SaveFailed(const QString& what, bool diskFull = false);
  // "profile "Night shift"" for every unsaved entry, and the calendar.
  QStringList UnsavedNames() const;
  // Watches the folders of the files shown, as far as they exist.
  void WatchFolder();
  // A check of the disk soon, once no question or menu is open and no button held.
  void ScheduleDiskCheck();

  Workspace& workspace_;
  UserQuestions& questions_;
  EditorHost* host_ = nullptr;
  LogPane* log_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  ProfilesPage* profiles_ = nullptr;
  CalendarPanel* calendar_ = nullptr;
  ReceiversPage* receivers_ = nullptr;
  QAction* save_ = nullptr;
  QAction* discard_ = nullptr;
  QMenu* recent_ = nullptr;
  QFileSystemWatcher* watcher_ = nullptr;
  QTimer* diskCheck_ = nullptr;
  QString lastLogLine_;
  QStringList written_;  // files saved since the last LogWritten, relative to the folder
};

}  // namespace ConfigEditor
