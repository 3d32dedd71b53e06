// The window of halvane-config: the Profiles, Calendar and Receivers tabs over one program
// folder, the log pane below them, and the menus that reach every command by keyboard. The
// title carries "*" while anything is unsaved; closing then asks to save, discard or stay.
#pragma once

#include <QMainWindow>

class QAction;
class QTabWidget;

namespace ConfigEditor {

class CalendarPanel;
class EditorHost;
class LogPane;
class ProfilesPage;
class ReceiversPage;
class UserQuestions;
class Workspace;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(Workspace& workspace, UserQuestions& questions, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Reads what lies in a program folder ("/" at its end) and shows it; the log pane shows
  // what reading logs. An empty calendar path means "Calendar.dat" in the folder.
  void OpenFolder(const QString& folder, const QString& calendarPath = {});

  ProfilesPage& Profiles() { return *profiles_; }
  ReceiversPage& Receivers() { return *receivers_; }
  CalendarPanel& Calendar() { return *calendar_; }
  LogPane& Log() { return *log_; }
  EditorHost& Host() { return *host_; }
  QTabWidget& Tabs() { return *tabs_; }
  enum Tab { kProfilesTab, kCalendarTab, kReceiversTab };

  // Saves everything unsaved; false when something could not be saved (the user was told).
  bool SaveAll();
  // Shows the title with its unsaved-changes marker, and the lists' marks, anew.
  void UpdateState();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  bool SaveProfile(int index);
  bool SaveReceiver(int index);
  bool SaveCalendar();
  void DiscardAll();
  // Tells the user that a save failed, with the reason the log pane got last.
  void SaveFailed(const QString& what);

  Workspace& workspace_;
  UserQuestions& questions_;
  EditorHost* host_ = nullptr;
  LogPane* log_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  ProfilesPage* profiles_ = nullptr;
  CalendarPanel* calendar_ = nullptr;
  ReceiversPage* receivers_ = nullptr;
  QAction* save_ = nullptr;
  QString lastLogLine_;
};

}  // namespace ConfigEditor
