#include "config-editor/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>

#include "config-editor/CalendarPanel.h"
#include "config-editor/EditorHost.h"
#include "config-editor/LogPane.h"
#include "config-editor/ProfilesPage.h"
#include "config-editor/ReceiversPage.h"
#include "config-editor/ScheduleEditorPanel.h"
#include "config-editor/Scrolled.h"
#include "config-editor/UserQuestions.h"
#include "config-editor/Workspace.h"
#include "config/HostProgramData.h"

namespace ConfigEditor {

namespace hc = Halvane_Config;

namespace {

const QString kDeleteAllPeriodsKey = QStringLiteral("Schedule/DeleteAllPeriods");
const QString kTabKey = QStringLiteral("Window/Tab");

}  // namespace

MainWindow::MainWindow(Workspace& workspace, UserQuestions& questions, QWidget* parent)
    : QMainWindow(parent), workspace_(workspace), questions_(questions) {
  host_ = new EditorHost(this);
  log_ = new LogPane;
  connect(log_, &LogPane::Logged, this, [this](const QString& line) { lastLogLine_ = line; });

  profiles_ = new ProfilesPage(workspace_.Profiles(), *host_, questions_,
                               [this](int index) { return SaveProfile(index); });
  calendar_ = new CalendarPanel(*host_, workspace_.Calendar());
  receivers_ = new ReceiversPage(workspace_.Receivers(), questions_,
                                 [this](int index) { return SaveReceiver(index); });

  tabs_ = new QTabWidget;
  tabs_->setObjectName(QStringLiteral("Tabs_Main"));
  tabs_->addTab(Scrolled(profiles_), tr("&Profiles"));
  tabs_->addTab(Scrolled(calendar_), tr("&Calendar"));
  tabs_->addTab(Scrolled(receivers_), tr("R&eceivers"));

  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->addWidget(tabs_);
  splitter->addWidget(log_);
  splitter->setStretchFactor(0, 1);
  splitter->setSizes({560, 110});
  setCentralWidget(splitter);
  CreateMenus();
  // The tab the user last worked on.
  tabs_->setCurrentIndex(QSettings().value(kTabKey, 0).toInt());

  connect(profiles_, &ProfilesPage::CurrentChanged, this,
          [this] { calendar_->SetProfile(profiles_->Current()); });
  connect(profiles_, &ProfilesPage::Edited, this, &MainWindow::UpdateState);
  connect(&profiles_->List(), &ObjectListPanel::ListChanged, this, &MainWindow::UpdateState);
  connect(calendar_, &CalendarPanel::Edited, this, &MainWindow::UpdateState);
  connect(receivers_, &ReceiversPage::Edited, this, &MainWindow::UpdateState);
  connect(&receivers_->List(), &ObjectListPanel::ListChanged, this, &MainWindow::UpdateState);

  // Fits a 1024 x 768 screen; a smaller (or more scaled) one gets what it has room for.
  QSize size(1000, 700);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    size = size.boundedTo(screen->availableSize());
  resize(size);
  UpdateState();
}

MainWindow::~MainWindow() {
  // The panels detach their surfaces from the host as they go, so they go first.
  delete takeCentralWidget();
}

void MainWindow::OpenFolder(const QString& folder, const QString& calendarPath) {
  workspace_.Open(folder, calendarPath);
  profiles_->List().Select(workspace_.Profiles().Count() > 0 ? 0 : -1);
  receivers_->List().Select(workspace_.Receivers().Count() > 0 ? 0 : -1);
  log_->Append(tr("Program folder %1: %2 profiles, %3 receivers.")
                   .arg(workspace_.Folder())
                   .arg(workspace_.Profiles().Count())
                   .arg(workspace_.Receivers().Count()));
  if (!workspace_.Calendar().Readable())
    log_->Append(tr("The calendar %1 cannot be read (%2); it is not saved over.")
                     .arg(workspace_.Calendar().Path(), workspace_.Calendar().Problem()));
  calendar_->Reload();
  UpdateState();
}

void MainWindow::CreateMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  save_ = file->addAction(tr("&Save all"), QKeySequence::Save, this, &MainWindow::SaveAll);
  save_->setObjectName(QStringLiteral("Command_SaveAll"));
  QAction* discard = file->addAction(tr("&Discard all changes"), this, [this] {
    if (questions_.Confirm(this, tr("Discard every unsaved change and read the files again?")))
      DiscardAll();
  });
  discard->setObjectName(QStringLiteral("Command_DiscardAll"));
  file->addSeparator();
  file->addAction(tr("E&xit"), QKeySequence::Quit, this, &QWidget::close);

  QMenu* options = menuBar()->addMenu(tr("&Options"));
  QAction* deleteAll = options->addAction(tr("&Delete removes every period of the day"));
  deleteAll->setObjectName(QStringLiteral("Option_DeleteAllPeriods"));
  deleteAll->setCheckable(true);
  hc::DeleteAllPeriods = QSettings().value(kDeleteAllPeriodsKey, false).toBool();
  deleteAll->setChecked(hc::DeleteAllPeriods);
  connect(deleteAll, &QAction::toggled, this, [](bool checked) {
    hc::DeleteAllPeriods = checked;
    QSettings().setValue(kDeleteAllPeriodsKey, checked);
  });

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->addAction(tr("&About"), this, [this] {
    QMessageBox::about(this, tr("About halvane-config"),
                       tr("halvane-config shows and changes the profiles, the calendar of day "
                          "types and the receivers of an alarm server's program folder."));
  });
}

void MainWindow::UpdateState() {
  profiles_->List().Refresh();
  receivers_->List().Refresh();
  const bool modified = workspace_.AnyModified();
  setWindowTitle(QStringLiteral("%1%2 - halvane-config")
                     .arg(workspace_.Folder(), modified ? QStringLiteral(" *") : QString()));
  save_->setEnabled(modified);
}

void MainWindow::SaveFailed(const QString& what) {
  questions_.ShowError(this, tr("%1 could not be saved.\n\n%2").arg(what, lastLogLine_));
}

bool MainWindow::SaveProfile(int index) {
  lastLogLine_.clear();
  const bool saved = workspace_.Profiles().Save(index);
  if (!saved) SaveFailed(tr("The profile \"%1\"").arg(workspace_.Profiles().RowAt(index).name));
  UpdateState();
  return saved;
}

bool MainWindow::SaveReceiver(int index) {
  lastLogLine_.clear();
  const bool saved = workspace_.Receivers().Save(index);
  if (!saved) SaveFailed(tr("The receiver \"%1\"").arg(workspace_.Receivers().RowAt(index).name));
  UpdateState();
  return saved;
}

bool MainWindow::SaveCalendar() {
  QString error;
  const bool saved = workspace_.Calendar().Save(&error);
  if (!saved) {
    log_->Append(tr("The calendar %1 was not saved: %2").arg(workspace_.Calendar().Path(), error));
    SaveFailed(tr("The calendar %1").arg(workspace_.Calendar().Path()));
  }
  UpdateState();
  return saved;
}

bool MainWindow::SaveAll() {
  bool saved = true;
  for (int i = 0; i < workspace_.Profiles().Count(); ++i)
    if (workspace_.Profiles().IsModified(i)) saved = SaveProfile(i) && saved;
  for (int i = 0; i < workspace_.Receivers().Count(); ++i)
    if (workspace_.Receivers().IsModified(i)) saved = SaveReceiver(i) && saved;
  if (workspace_.Calendar().IsModified()) saved = SaveCalendar() && saved;
  if (saved) log_->Append(tr("Everything is saved."));
  // Saved profiles may have new identities.
  profiles_->List().Select(profiles_->List().Current());
  return saved;
}

void MainWindow::DiscardAll() {
  for (int i = workspace_.Profiles().Count() - 1; i >= 0; --i)
    if (workspace_.Profiles().IsModified(i)) workspace_.Profiles().Discard(i);
  for (int i = workspace_.Receivers().Count() - 1; i >= 0; --i)
    if (workspace_.Receivers().IsModified(i)) workspace_.Receivers().Discard(i);
  workspace_.Calendar().Discard();
  const auto clamp = [](int index, int count) { return std::min(index, count - 1); };
  profiles_->List().Select(clamp(profiles_->List().Current(), workspace_.Profiles().Count()));
  receivers_->List().Select(clamp(receivers_->List().Current(), workspace_.Receivers().Count()));
  calendar_->Reload();
  UpdateState();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  bool close = true;
  if (workspace_.AnyModified()) {
    switch (questions_.AskToSave(this, tr("There are unsaved changes. Save them?"))) {
      case UserQuestions::Choice::Save:
        close = SaveAll();
        break;
      case UserQuestions::Choice::Discard:
        break;
      case UserQuestions::Choice::Cancel:
        close = false;
        break;
    }
  }
  if (close) QSettings().setValue(kTabKey, tabs_->currentIndex());
  event->setAccepted(close);
}

}  // namespace ConfigEditor
