// Opening program folders: by the menu and the recent folders, once what is unsaved is
// settled; a folder that cannot be written opens read-only; the log names what it found
// and what a save wrote.
#include <sys/stat.h>

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "EditorFixture.h"
#include "config-editor/LogPane.h"
#include "config-editor/ProfilesPage.h"

namespace ConfigEditor {
namespace {

namespace hc = Halvane_Config;

class FolderTest : public EditorTest {
 protected:
  QString Log() const { return window->Log().toPlainText(); }
  void OpenFolderByMenu() {
    window->findChild<QAction*>(QStringLiteral("Command_OpenFolder"))->trigger();
  }
};

TEST_F(FolderTest, OpenFolderSettlesWhatIsUnsavedAndTheRecentFoldersLeadBack) {
  const QString first = QString::fromStdString(folder.Path());
  hc::cReceiver receiver;
  receiver.m_ReceiverName = u"Guard";
  ASSERT_TRUE(receiver.SaveToDisk());
  Open();
  EXPECT_TRUE(Log().contains(QStringLiteral(": 0 profiles, 1 receiver.")));
  ClickNew(window->Profiles());

  QTemporaryDir other;
  questions.folderChosen = other.path();
  questions.choices = {UserQuestions::Choice::Cancel};
  OpenFolderByMenu();
  EXPECT_EQ(workspace->Folder(), first);
  ASSERT_EQ(questions.asked.size(), 1);
  EXPECT_TRUE(questions.asked[0].contains(QStringLiteral("\"New profile\" (new, never saved)")));

  questions.choices = {UserQuestions::Choice::Discard};
  OpenFolderByMenu();
  EXPECT_EQ(workspace->Folder(), other.path() + u'/');
  EXPECT_TRUE(window->windowTitle().startsWith(other.path() + u'/'));
  EXPECT_EQ(workspace->Profiles().Count(), 0);
  EXPECT_TRUE(folder.Entries("Profiles").empty());  // discarded, not saved

  // The folder left is the first of the recent ones; the open one is not offered.
  auto* recent = window->findChild<QMenu*>(QStringLiteral("Menu_RecentFolders"));
  emit recent->aboutToShow();
  ASSERT_FALSE(recent->actions().isEmpty());
  EXPECT_TRUE(recent->actions()[0]->text().endsWith(first));
  for (const QAction* action : recent->actions())
    EXPECT_FALSE(action->text().endsWith(other.path() + u'/'));
  recent->actions()[0]->trigger();
  EXPECT_EQ(workspace->Folder(), first);
  EXPECT_EQ(workspace->Receivers().Count(), 1);

  // A folder that went is refused, and leaves the recent ones.
  const QString gone = other.path() + u'/';
  other.remove();
  window->SwitchFolder(gone);
  EXPECT_EQ(workspace->Folder(), first);
  EXPECT_TRUE(questions.errors.last().contains(QStringLiteral("not a folder that can be read")));
  emit recent->aboutToShow();
  for (const QAction* action : recent->actions())
    EXPECT_FALSE(action->text().endsWith(gone));
}

TEST_F(FolderTest, AFolderThatCannotBeWrittenOpensReadOnlyAndSaysSo) {
  QTemporaryDir locked;
  ::chmod(QFile::encodeName(locked.path()).constData(), 0555);
  QString path = locked.path() + u'/';
  // Root writes anywhere but where the file system takes no new files.
  if (Workspace::Unwritable(path).isEmpty()) path = QStringLiteral("/sys/");
  Open();
  window->SwitchFolder(path);
  EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("(read-only)")));
  EXPECT_TRUE(Log().contains(QStringLiteral("%1 cannot be written").arg(path)));
  EXPECT_FALSE(window->Profiles().findChild<QWidget*>(QStringLiteral("Command_New"))->isEnabled());
  ::chmod(QFile::encodeName(locked.path()).constData(), 0755);

  // Writable again, the folder it came from is no longer read-only.
  window->SwitchFolder(QString::fromStdString(folder.Path()));
  EXPECT_FALSE(window->windowTitle().contains(QStringLiteral("read-only")));
}

TEST_F(FolderTest, ASaveNamesTheFilesItWrote) {
  Open();
  ClickNew(window->Profiles());
  ASSERT_TRUE(window->SaveAll());
  const QString file = QFileInfo(workspace->Profiles().FileName(0)).fileName();
  EXPECT_TRUE(Log().contains(QStringLiteral("Wrote 1 file: Profiles/%1.").arg(file)));
}

}  // namespace
}  // namespace ConfigEditor
