#include "config-editor/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <vector>

#include "common/RuntimeError.h"
#include "config-editor/CalendarPanel.h"
#include "config-editor/CommandLine.h"
#include "config-editor/EditorHost.h"
#include "config-editor/LogPane.h"
#include "config-editor/ProfilesPage.h"
#include "config-editor/ProgramTexts.h"
#include "config-editor/ReceiverListField.h"
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
const QString kRecentKey = QStringLiteral("Window/RecentFolders");
constexpr int kRecentFolders = 8;
// A log line names at most this many of the files a save wrote.
constexpr int kWrittenNamesShown = 12;
// Files are checked this long after the folder last changed or the window was activated,
// so that the many changes of one save by another program are looked at once.
constexpr int kDiskCheckDelayMilliseconds = 300;
// The close question names at most this many unsaved entries.
constexpr int kUnsavedNamesShown = 12;

QString Noun(const char* noun) {
  return QCoreApplication::translate("ConfigEditor", noun);
}

}  // namespace

struct MainWindow::Batch {
  struct Staged {
    ObjectList* list;
    std::uint64_t entry;
    std::size_t save;
    QString what;
  };
  hc::SaveBatch saves;
  std::vector<Staged> staged;
};

MainWindow::MainWindow(Workspace& workspace, UserQuestions& questions, QWidget* parent)
    : QMainWindow(parent), workspace_(workspace), questions_(questions) {
  host_ = new EditorHost(this);
  log_ = new LogPane;
  connect(log_, &LogPane::Logged, this, [this](const QString& line) { lastLogLine_ = line; });

  profiles_ = new ProfilesPage(workspace_.Profiles(), *host_, questions_, [this](int index) {
    return SaveLeaving(workspace_.Profiles(), index, Noun(ProfileKind::kNoun));
  });
  calendar_ = new CalendarPanel(*host_, workspace_.Calendar());
  receivers_ = new ReceiversPage(workspace_.Receivers(), questions_, [this](int index) {
    return SaveLeaving(workspace_.Receivers(), index, Noun(ReceiverKind::kNoun));
  });

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
  connect(receivers_, &ReceiversPage::Edited, this, &MainWindow::ShowReceiverNames);
  connect(&receivers_->List(), &ObjectListPanel::ListChanged, this, &MainWindow::ShowReceiverNames);
  receivers_->List().SetRemovalNote([this](int index) { return ProfilesNaming(index); });

  diskCheck_ = new QTimer(this);
  diskCheck_->setSingleShot(true);
  diskCheck_->setInterval(kDiskCheckDelayMilliseconds);
  connect(diskCheck_, &QTimer::timeout, this, [this] {
    // Not while the user is answering, choosing from a menu or dragging: the entries the
    // question or the drag is about stay as they are until then.
    if (QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr ||
        QApplication::mouseButtons() != Qt::NoButton) {
      diskCheck_->start();
      return;
    }
    CheckDisk();
  });
  watcher_ = new QFileSystemWatcher(this);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &MainWindow::ScheduleDiskCheck);

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
  // The folder is open in no window any more.
  workspace_.Lock().Release();
}

bool MainWindow::TakeLock(const QString& folder) {
  bool readOnly = false;
  FolderLock& lock = workspace_.Lock();
  switch (lock.Take(folder)) {
    case FolderLock::Outcome::Taken:
      break;
    case FolderLock::Outcome::TakenOver:
      log_->Append(tr("The lock file of %1 named %2, which has ended; the lock is taken over.")
                       .arg(folder, lock.Previous().Describe()));
      break;
    case FolderLock::Outcome::HeldByOther: {
      const QString holder = lock.Previous().Describe();
      // One line for logs and scripts, before the question waits for an answer.
      std::fprintf(stderr, "halvane-config: %s is open for editing in another window: %s\n",
                   QDir::toNativeSeparators(folder).toLocal8Bit().constData(),
                   holder.toLocal8Bit().constData());
      std::fflush(stderr);
      log_->Append(tr("%1 is open for editing in another window: %2.").arg(folder, holder));
      readOnly = questions_.AskToOpenHeldFolder(
                     this, tr("%1 is open for editing in another halvane-config window:\n%2\n\n"
                              "What both windows save can overwrite what the other saved. Open "
                              "it read-only, or open it anyway?")
                               .arg(folder, holder)) == UserQuestions::OpenChoice::ReadOnly;
      break;
    }
    case FolderLock::Outcome::NotPossible:
      log_->Append(tr("No lock file can be made in %1 (%2): a second window on the folder will "
                      "not be told that this one has it open.")
                       .arg(folder, lock.Problem()));
      break;
  }
  return readOnly;
}

void MainWindow::OpenFolder(const QString& folder, const QString& calendarPath) {
  const QStringList unwritable = Workspace::Unwritable(folder, calendarPath);
  if (!unwritable.isEmpty()) {
    // Nothing could be saved, so nothing is changed either; no lock is needed to look.
    workspace_.Lock().Release();
    log_->Append(
        tr("%1 cannot be written: %2.").arg(folder, unwritable.join(QStringLiteral(", "))));
  }
  const bool readOnly = !unwritable.isEmpty() || TakeLock(folder);
  workspace_.Open(folder, calendarPath);
  profiles_->List().Select(workspace_.Profiles().Count() > 0 ? 0 : -1);
  receivers_->List().Select(workspace_.Receivers().Count() > 0 ? 0 : -1);
  ShowReceiverNames();
  RememberFolder(workspace_.Folder(), true);
  log_->Append(tr("Program folder %1: %2, %3.")
                   .arg(workspace_.Folder(),
                        Counted(workspace_.Profiles().Count(), tr("profile"), tr("profiles")),
                        Counted(workspace_.Receivers().Count(), tr("receiver"), tr("receivers"))));
  if (!workspace_.Calendar().Readable())
    log_->Append(tr("The calendar %1 cannot be read (%2); it is not saved over.")
                     .arg(workspace_.Calendar().Path(), workspace_.Calendar().Problem()));
  calendar_->Reload();
  SetReadOnly(readOnly);
  WatchFolder();
}

void MainWindow::SwitchFolder(const QString& folder) {
  const QFileInfo info(folder);
  if (!info.isDir() || !info.isReadable()) {
    questions_.ShowError(this, tr("%1 is not a folder that can be read.").arg(folder));
    RememberFolder(folder, false);
    return;
  }
  if (!SettleUnsaved()) return;
  OpenFolder(QDir(info.absoluteFilePath()).path() + u'/');
}

void MainWindow::RememberFolder(const QString& folder, bool keep) {
  QSettings settings;
  QStringList folders = settings.value(kRecentKey).toStringList();
  folders.removeAll(folder);
  if (keep) folders.prepend(folder);
  while (folders.size() > kRecentFolders)
    folders.removeLast();
  settings.setValue(kRecentKey, folders);
}

void MainWindow::FillRecentFolders() {
  recent_->clear();
  int number = 0;
  for (const QString& folder : QSettings().value(kRecentKey).toStringList()) {
    if (folder == workspace_.Folder()) continue;
    const QString shown = QDir::toNativeSeparators(folder).replace(u'&', QStringLiteral("&&"));
    recent_->addAction(QStringLiteral("&%1 %2").arg(++number).arg(shown), this,
                       [this, folder] { SwitchFolder(folder); });
  }
  if (number == 0) recent_->addAction(tr("(none yet)"))->setEnabled(false);
}

void MainWindow::ShowReceiverNames() {
  QStringList names;
  ReceiverFiles& receivers = workspace_.Receivers();
  for (int i = 0; i < receivers.Count(); ++i) {
    if (receivers.IsReadable(i)) names << receivers.RowAt(i).name;
  }
  profiles_->SetReceiverNames(names);
}

QString MainWindow::ProfilesNaming(int receiver) const {
  const ObjectList::Row row = workspace_.Receivers().RowAt(receiver);
  if (!row.readable) return {};
  QStringList naming;
  const ProfileFiles& profiles = workspace_.Profiles();
  for (int i = 0; i < profiles.Count(); ++i) {
    const std::shared_ptr<hc::cProfile> profile = profiles.Editable(i);
    if (!profile) continue;
    const QStringList named =
        SplitReceiverList(QString::fromStdU16String(profile->m_ParallellReceivers)) +
        SplitReceiverList(QString::fromStdU16String(profile->m_SequentialReceivers));
    if (named.contains(row.name)) naming << QStringLiteral("\"%1\"").arg(profiles.RowAt(i).name);
  }
  if (naming.isEmpty()) return {};
  return tr("Named by %1: %2. Their receiver lists keep the name, which then matches no receiver.")
      .arg(Counted(naming.size(), tr("profile"), tr("profiles")),
           naming.join(QStringLiteral(", ")));
}

void MainWindow::SetReadOnly(bool readOnly) {
  workspace_.SetReadOnly(readOnly);
  profiles_->SetReadOnly(readOnly);
  receivers_->SetReadOnly(readOnly);
  calendar_->SetReadOnly(readOnly);
  discard_->setEnabled(!readOnly);
  if (readOnly) log_->Append(tr("Opened read-only: nothing can be changed or saved."));
  UpdateState();
}

void MainWindow::WatchFolder() {
  const QString folder = workspace_.Folder();
  QStringList paths;
  for (const QString& path :
       {folder, folder + QStringLiteral("Profiles"), folder + QStringLiteral("Receivers"),
        QFileInfo(workspace_.Calendar().Path()).absolutePath()}) {
    if (QFileInfo(path).isDir()) paths << QDir::cleanPath(path);
  }
  // Those of a folder opened before go.
  for (const QString& watched : watcher_->directories())
    if (!paths.contains(watched)) watcher_->removePath(watched);
  paths.removeDuplicates();
  for (const QString& path : paths)
    if (!watcher_->directories().contains(path)) watcher_->addPath(path);
}

void MainWindow::ScheduleDiskCheck() {
  diskCheck_->start();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) ScheduleDiskCheck();
}

void MainWindow::CheckDisk() {
  const DiskCheck check = workspace_.CheckDisk();
  for (const QString& line : check.lines)
    log_->Append(line);
  // Folders made since (by a first save) are watched as well.
  WatchFolder();
  if (check.changed) ShowReadAgain();
}

void MainWindow::ShowReadAgain() {
  profiles_->List().Follow();
  receivers_->List().Follow();
  calendar_->Reload();
  UpdateState();
}

void MainWindow::CreateMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("&Open folder..."), QKeySequence::Open, this,
                  [this] {
                    const QString chosen = questions_.AskForFolder(this, workspace_.Folder());
                    if (!chosen.isEmpty()) SwitchFolder(chosen);
                  })
      ->setObjectName(QStringLiteral("Command_OpenFolder"));
  recent_ = file->addMenu(tr("&Recent folders"));
  recent_->setObjectName(QStringLiteral("Menu_RecentFolders"));
  connect(recent_, &QMenu::aboutToShow, this, &MainWindow::FillRecentFolders);
  file->addSeparator();
  save_ = file->addAction(tr("&Save all"), QKeySequence::Save, this, &MainWindow::SaveAll);
  save_->setObjectName(QStringLiteral("Command_SaveAll"));
  discard_ = file->addAction(tr("&Discard all changes"), this, [this] {
    if (questions_.Confirm(this, tr("Discard every unsaved change and read the files again?")))
      DiscardAll();
  });
  discard_->setObjectName(QStringLiteral("Command_DiscardAll"));
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
  help->addAction(tr("&About"), this,
                  [this] { QMessageBox::about(this, tr("About halvane-config"), AboutText()); });
}

void MainWindow::UpdateState() {
  profiles_->List().Refresh();
  receivers_->List().Refresh();
  calendar_->ShowFileState();
  const bool modified = workspace_.AnyModified();
  setWindowTitle(QStringLiteral("%1%2%3 - halvane-config")
                     .arg(workspace_.Folder(),
                          workspace_.ReadOnly() ? tr(" (read-only)") : QString(),
                          modified ? QStringLiteral(" *") : QString()));
  save_->setEnabled(modified && !workspace_.ReadOnly());
}

QString MainWindow::AboutText() {
  return tr("%1\n\nShows and changes the profiles, the calendar of day types and the receivers "
            "of an alarm server's program folder.")
      .arg(QString::fromStdString(VersionText()));
}

void MainWindow::SaveFailed(const QString& what, bool diskFull) {
  QString text = tr("%1 could not be saved.").arg(what);
  if (diskFull) text += u' ' + tr("The disk is full: make room on it, then save again.");
  questions_.ShowError(this, text + QStringLiteral("\n\n") + lastLogLine_);
}

MainWindow::Saving MainWindow::AskAboutConflict(const QString& what, bool removed,
                                                const QString& reload) {
  const QString question =
      removed ? tr("%1 was removed on disk by another program since this window read it.\n\n"
                   "Overwrite: write it again as this window shows it.\n"
                   "Reload: let it go, and the changes made to it here.\n"
                   "Cancel: leave it unsaved.")
                    .arg(what)
              : tr("%1 was changed on disk by another program since this window read it.\n\n"
                   "Overwrite: replace what the other program wrote with what this window "
                   "shows.\nReload: read what the other program wrote, losing the changes made "
                   "to it here.\nCancel: leave it unsaved.")
                    .arg(what);
  switch (questions_.AskAboutConflict(this, question, reload)) {
    case UserQuestions::ConflictChoice::Overwrite:
      return Saving::Saved;  // to be saved over
    case UserQuestions::ConflictChoice::Reload:
      log_->Append(
          tr("%1 was read again from disk; the changes made to it here are gone.").arg(what));
      return Saving::Reloaded;
    case UserQuestions::ConflictChoice::Cancel:
      break;
  }
  log_->Append(tr("%1 was not saved: another program changed it on disk.").arg(what));
  return Saving::Cancelled;
}

MainWindow::Saving MainWindow::SaveEntry(ObjectList& list, int index, const QString& noun,
                                         Batch& batch) {
  const QString what =
      tr("The %1 \"%2\" (%3)")
          .arg(noun, list.RowAt(index).name,
               list.FileName(index).isEmpty() ? tr("new")
                                              : QFileInfo(list.FileName(index)).fileName());
  lastLogLine_.clear();
  std::size_t staged = 0;
  SaveResult result = list.Stage(index, batch.saves, staged);
  if (result == SaveResult::Conflict) {
    const Saving answer = AskAboutConflict(what, list.RowAt(index).disk == DiskState::Removed,
                                           tr("&Reload (lose my changes to this entry)"));
    if (answer == Saving::Reloaded) list.Discard(index);
    if (answer != Saving::Saved) return answer;
    lastLogLine_.clear();
    result = list.Stage(index, batch.saves, staged, SaveCheck::Overwrite);
  }
  switch (result) {
    case SaveResult::Saved:
      batch.staged.push_back({&list, list.EntryId(index), staged, what});
      return Saving::Saved;
    case SaveResult::Refused:
      return Saving::Refused;
    case SaveResult::Conflict:
    case SaveResult::Failed:
      break;
  }
  SaveFailed(what);
  return Saving::Failed;
}

bool MainWindow::CommitSaves(Batch& batch) {
  lastLogLine_.clear();
  batch.saves.Commit();
  QStringList failed;
  bool diskFull = false;
  for (const Batch::Staged& staged : batch.staged) {
    const int index = staged.list->IndexOfEntry(staged.entry);
    if (index >= 0 && staged.list->Finish(index, batch.saves, staged.save) == SaveResult::Saved) {
      written_ << QDir(workspace_.Folder()).relativeFilePath(staged.list->FileName(index));
      continue;
    }
    failed << staged.what;
    diskFull = diskFull || batch.saves.OutcomeOf(staged.save).errorNumber ==
                               Halvane_Common_Procedures::kDiskFull;
  }
  if (!failed.isEmpty()) SaveFailed(failed.join(tr(", ")), diskFull);
  return failed.isEmpty();
}

bool MainWindow::SaveLeaving(ObjectList& list, int index, const QString& noun) {
  const QString name = list.RowAt(index).name;
  Batch batch;
  Saving saving = SaveEntry(list, index, noun, batch);
  if (saving == Saving::Saved && !CommitSaves(batch)) saving = Saving::Failed;
  LogWritten();
  if (saving == Saving::Refused) {
    ReportRefused({tr("The %1 \"%2\": %3").arg(noun, name, list.RefusedReasons(index).join("; "))});
  }
  UpdateState();
  return saving == Saving::Saved || saving == Saving::Reloaded;
}

MainWindow::Saving MainWindow::SaveCalendar() {
  CalendarDocument& calendar = workspace_.Calendar();
  const QString what = tr("The calendar %1").arg(calendar.Path());
  QString error;
  int errorNumber = 0;
  SaveResult result = calendar.Save(&error, SaveCheck::CompareWithDisk, &errorNumber);
  if (result == SaveResult::Conflict) {
    const Saving answer = AskAboutConflict(what, calendar.Disk() == DiskState::Removed,
                                           tr("&Reload (lose my changes to the calendar)"));
    if (answer == Saving::Reloaded) {
      calendar.Discard();
      calendar_->Reload();
    }
    if (answer != Saving::Saved) return answer;
    result = calendar.Save(&error, SaveCheck::Overwrite, &errorNumber);
  }
  if (result == SaveResult::Saved) {
    written_ << QDir(workspace_.Folder()).relativeFilePath(calendar.Path());
    return Saving::Saved;
  }
  log_->Append(tr("The calendar %1 was not saved: %2").arg(calendar.Path(), error));
  SaveFailed(what, errorNumber == Halvane_Common_Procedures::kDiskFull);
  return Saving::Failed;
}

void MainWindow::ReportRefused(const QStringList& entries) {
  for (const QString& entry : entries)
    log_->Append(tr("Not saved: %1").arg(entry));
  questions_.ShowError(
      this, tr("Not saved, because fields are red: they hold texts that are no values of them "
               "(the reason is in each one's tooltip).\n\n%1\n\nMend those fields, or discard "
               "the changes.")
                .arg(entries.join(u'\n')));
}

bool MainWindow::SaveAll() {
  if (workspace_.ReadOnly()) return false;
  QStringList refused;
  bool stopped = false;
  bool reloaded = false;
  // Every entry goes into one batch, which writes them all first and makes them durable
  // together: far faster than one save after another.
  Batch batch;
  const auto saveAll = [&](ObjectList& list, const QString& noun) {
    for (int i = 0; i < list.Count() && !stopped; ++i) {
      if (!list.IsModified(i)) continue;
      const int count = list.Count();
      const QString name = list.RowAt(i).name;
      switch (SaveEntry(list, i, noun, batch)) {
        case Saving::Saved:
        case Saving::Failed:
          break;
        case Saving::Reloaded:
          reloaded = true;
          if (list.Count() < count) --i;  // its file had gone, and so has the entry
          break;
        case Saving::Refused:
          refused << tr("The %1 \"%2\": %3").arg(noun, name, list.RefusedReasons(i).join("; "));
          break;
        case Saving::Cancelled:
          stopped = true;
          break;
      }
    }
  };
  saveAll(workspace_.Profiles(), Noun(ProfileKind::kNoun));
  saveAll(workspace_.Receivers(), Noun(ReceiverKind::kNoun));
  if (!batch.staged.empty()) CommitSaves(batch);
  if (!stopped && workspace_.Calendar().IsModified()) {
    const Saving saving = SaveCalendar();
    stopped = saving == Saving::Cancelled;
    reloaded = reloaded || saving == Saving::Reloaded;
  }
  LogWritten();
  // Entries read again or gone; saved new ones have their identities now.
  profiles_->List().Follow();
  receivers_->List().Follow();
  UpdateState();
  if (!refused.isEmpty()) ReportRefused(refused);
  if (stopped) log_->Append(tr("Save all was cancelled; what it had not reached stays unsaved."));
  const bool saved = !workspace_.AnyModified();
  // Not after changes were given up for what another program wrote: they are not saved.
  if (saved && !reloaded) log_->Append(tr("Everything is saved."));
  return saved;
}

void MainWindow::LogWritten() {
  if (written_.isEmpty()) return;
  QStringList shown = written_;
  const qsizetype more = shown.size() - kWrittenNamesShown;
  if (more > 0) {
    shown.resize(kWrittenNamesShown);
    shown << tr("%1 more").arg(more);
  }
  log_->Append(tr("Wrote %1: %2.")
                   .arg(Counted(written_.size(), tr("file"), tr("files")),
                        shown.join(QStringLiteral(", "))));
  written_.clear();
}

void MainWindow::DiscardAll() {
  for (int i = workspace_.Profiles().Count() - 1; i >= 0; --i)
    if (workspace_.Profiles().IsModified(i)) workspace_.Profiles().Discard(i);
  for (int i = workspace_.Receivers().Count() - 1; i >= 0; --i)
    if (workspace_.Receivers().IsModified(i)) workspace_.Receivers().Discard(i);
  workspace_.Calendar().Discard();
  ShowReadAgain();
  // What else changed on disk meanwhile comes too.
  CheckDisk();
}

QStringList MainWindow::UnsavedNames() const {
  QStringList names;
  const auto add = [&names](const ObjectList& list, const QString& noun) {
    for (int i = 0; i < list.Count(); ++i)
      if (list.IsModified(i)) {
        names << tr("the %1 \"%2\" (%3)").arg(noun, list.RowAt(i).name, list.WhatIsUnsaved(i));
      }
  };
  add(workspace_.Profiles(), Noun(ProfileKind::kNoun));
  add(workspace_.Receivers(), Noun(ReceiverKind::kNoun));
  if (workspace_.Calendar().IsModified()) names << tr("the calendar (dates painted)");
  return names;
}

bool MainWindow::SettleUnsaved() {
  QStringList unsaved = UnsavedNames();
  if (unsaved.isEmpty()) return true;
  const qsizetype more = unsaved.size() - kUnsavedNamesShown;
  if (more > 0) {
    unsaved.resize(kUnsavedNamesShown);
    unsaved << tr("and %1 more").arg(more);
  }
  switch (questions_.AskToSave(
      this, tr("These have unsaved changes:\n%1\n\nSave them?").arg(unsaved.join(u'\n')))) {
    case UserQuestions::Choice::Save:
      return SaveAll();
    case UserQuestions::Choice::Discard:
      return true;
    case UserQuestions::Choice::Cancel:
      break;
  }
  return false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  const bool close = SettleUnsaved();
  if (close) QSettings().setValue(kTabKey, tabs_->currentIndex());
  event->setAccepted(close);
}

}  // namespace ConfigEditor
