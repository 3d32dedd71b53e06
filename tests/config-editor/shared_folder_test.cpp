// Two windows on one folder, or a window and another program writing its files: what one
// saved is never lost without the user choosing so.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <fstream>

#include "EditorFixture.h"
#include "config-editor/CalendarPanel.h"
#include "config-editor/LogPane.h"
#include "config-editor/ProfilesPage.h"
#include "config-editor/ReceiversPage.h"

namespace ConfigEditor {
namespace {

namespace hc = Halvane_Config;
using Conflict = UserQuestions::ConflictChoice;

// A second window with its own answers.
struct OtherWindow {
  explicit OtherWindow(const std::string& folder) : window(workspace, questions) {
    window.OpenFolder(QString::fromStdString(folder));
    window.show();
    questions.asked.clear();  // whether to open the folder that the first window holds
  }
  ScriptedQuestions questions;
  Workspace workspace;
  MainWindow window;
};

class SharedFolderTest : public EditorTest {
 protected:
  static constexpr std::int16_t kProfile = 42;
  static constexpr std::int16_t kReceiver = 7;

  void SaveProfile(const char16_t* name) {
    hc::cProfile profile;
    profile.m_DiskIdentity = kProfile;
    profile.SetName(name);
    profile.m_TimeSchedule = std::make_shared<hc::cTimeSchedule>();
    profile.m_TimeSchedule->SetDefaultPeriod();
    ASSERT_TRUE(profile.SaveToDisk());
  }
  hc::cProfile LoadProfile() {
    hc::cProfile profile;
    EXPECT_TRUE(profile.LoadFromDisk(kProfile));
    return profile;
  }
  std::string ReceiverBytes(const char16_t* name) {
    hc::cReceiver receiver;
    receiver.m_DiskIdentity = kReceiver;
    receiver.m_ReceiverName = name;
    EXPECT_TRUE(receiver.SaveToDisk());
    return folder.Read("Receivers/Receiver_0007.dat");
  }
  // Another program rewriting the file where it is, as an editor or a copy does.
  void WriteInPlace(const std::string& relative, const std::string& bytes) {
    std::ofstream(folder.PathOf(relative), std::ios::binary | std::ios::trunc) << bytes;
  }
  static void Rename(MainWindow& window, const QString& name) {
    auto* edit = window.Profiles().findChild<QLineEdit*>(QStringLiteral("Text_Profile_Name"));
    edit->selectAll();
    QTest::keyClicks(edit, name);
  }
  static void Disable(MainWindow& window) {
    window.Profiles().findChild<QCheckBox*>(QStringLiteral("Check_Profile_Enabled"))->click();
  }
};

TEST_F(SharedFolderTest, EveryInterleavingOfTwoWindowsKeepsBothEditsOrTheChosenOne) {
  // Window A renames the profile, window B disables it; each may look at the disk (as when
  // it is activated) before the user edits in it.
  for (const char* order : {"aAbB", "abAB", "abBA", "baAB", "baBA", "bBaA"}) {
    for (const Conflict answer : {Conflict::Overwrite, Conflict::Reload}) {
      SCOPED_TRACE(std::string(order) + (answer == Conflict::Overwrite ? " overwrite" : " reload"));
      SaveProfile(u"Night shift");
      Open();
      OtherWindow other(folder.Path());
      questions.asked.clear();
      questions.conflicts = {answer};
      other.questions.conflicts = {answer};
      std::string saved;  // who saved, in order
      for (const char* step = order; *step != '\0'; ++step) {
        MainWindow& w = *step == 'a' || *step == 'A' ? *window : other.window;
        if (*step == 'a' || *step == 'b') w.CheckDisk();
        if (*step == 'a') Rename(w, QStringLiteral("Renamed"));
        if (*step == 'b') Disable(w);
        if (*step == 'A' || *step == 'B') {
          w.SaveAll();
          saved += *step;
        }
      }
      const bool asked = questions.asked.size() + other.questions.asked.size() == 1;
      MainWindow& second = saved[1] == 'A' ? *window : other.window;
      if (asked && answer == Conflict::Reload) {
        // Read again, the second window does its edit once more.
        EXPECT_FALSE(second.windowTitle().contains(u'*'));
        second.CheckDisk();
        saved[1] == 'A' ? Rename(second, QStringLiteral("Renamed")) : Disable(second);
        EXPECT_TRUE(second.SaveAll());
      }
      const hc::cProfile onDisk = LoadProfile();
      if (asked && answer == Conflict::Overwrite) {
        EXPECT_EQ(onDisk.GetName() == u"Renamed", saved[1] == 'A');
        EXPECT_EQ(onDisk.m_Enabled, saved[1] == 'A');
      } else {
        EXPECT_EQ(onDisk.GetName(), u"Renamed");
        EXPECT_FALSE(onDisk.m_Enabled);
      }
      EXPECT_FALSE(second.windowTitle().contains(u'*'));
      window.reset();
    }
  }
}

TEST_F(SharedFolderTest, ACalendarSavedElsewhereIsNeitherAskedAboutNorSavedOver) {
  SaveProfile(u"Only looked at");
  Open();
  OtherWindow other(folder.Path());
  const std::int32_t day = hc::cCalendar::DayNumber(2026, 12, 24);
  other.workspace.Calendar().Calendar().SetDayType(day, 8);
  ASSERT_TRUE(other.window.SaveAll());

  // This window changed nothing: closing asks nothing and writes nothing.
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(questions.asked.isEmpty());
  hc::cCalendar onDisk;
  ASSERT_TRUE(onDisk.ReadFromDisk(other.workspace.Calendar().Path().toStdU16String()));
  EXPECT_EQ(onDisk.GetDayType(day), 8);

  // Changed here as well: saving asks, and Reload takes the other window's dates.
  Open();
  workspace->Calendar().Calendar().SetDayType(day + 1, 9);
  other.workspace.Calendar().Calendar().SetDayType(day + 2, 10);
  ASSERT_TRUE(other.window.SaveAll());
  questions.conflicts = {Conflict::Cancel, Conflict::Reload};
  EXPECT_FALSE(window->SaveAll());
  EXPECT_TRUE(window->windowTitle().contains(u'*'));
  EXPECT_TRUE(window->SaveAll());
  EXPECT_EQ(workspace->Calendar().Calendar().GetDayType(day + 2), 10);
  EXPECT_EQ(workspace->Calendar().Calendar().GetDayType(day + 1), 0);
}

TEST_F(SharedFolderTest, FilesWrittenOrRemovedByAnotherProgramAreReadAgainOrMarked) {
  const std::string inside = ReceiverBytes(u"Inside");
  const std::string outside = ReceiverBytes(u"Outside");
  const std::string path = "Receivers/Receiver_0007.dat";
  WriteInPlace(path, inside);
  Open();
  ASSERT_EQ(workspace->Receivers().Count(), 1);

  // Unchanged here: read again without a word but the log's.
  WriteInPlace(path, outside);
  window->CheckDisk();
  EXPECT_EQ(workspace->Receivers().At(0)->m_ReceiverName, u"Outside");
  EXPECT_TRUE(window->Log().toPlainText().contains(QStringLiteral("read again")));
  EXPECT_TRUE(questions.asked.isEmpty());

  // Changed here: marked, kept, and asked about when saved.
  auto* name = window->Receivers().findChild<QLineEdit*>(QStringLiteral("Text_Receiver_Name"));
  name->selectAll();
  QTest::keyClicks(name, QStringLiteral("Mine"));
  WriteInPlace(path, inside);
  window->CheckDisk();
  EXPECT_EQ(workspace->Receivers().RowAt(0).disk, DiskState::Changed);
  EXPECT_EQ(workspace->Receivers().At(0)->m_ReceiverName, u"Mine");
  EXPECT_FALSE(window->SaveAll());  // cancelled
  EXPECT_EQ(folder.Read(path), inside);

  // Removed: Overwrite writes it again.
  std::filesystem::remove(folder.PathOf(path));
  window->CheckDisk();
  EXPECT_EQ(workspace->Receivers().RowAt(0).disk, DiskState::Removed);
  questions.conflicts = {Conflict::Overwrite};
  EXPECT_TRUE(window->SaveAll());
  hc::cReceiver onDisk;
  ASSERT_TRUE(onDisk.LoadFromDisk(kReceiver));
  EXPECT_EQ(onDisk.m_ReceiverName, u"Mine");

  // Unchanged here and removed there: it leaves the list; a new file joins it.
  std::filesystem::remove(folder.PathOf(path));
  SaveProfile(u"Came later");
  window->CheckDisk();
  EXPECT_EQ(workspace->Receivers().Count(), 0);
  ASSERT_EQ(workspace->Profiles().Count(), 1);
  EXPECT_EQ(workspace->Profiles().At(0)->GetName(), u"Came later");

  // Unasked, the watch of the folder brings a file that comes.
  ReceiverBytes(u"Watched");
  EXPECT_TRUE(QTest::qWaitFor([&] { return workspace->Receivers().Count() == 1; }, 5000));
}

TEST_F(SharedFolderTest, ASecondWindowIsToldWhoHoldsTheFolderAndMayOnlyLook) {
  Open();
  const QString pid = QString::number(QCoreApplication::applicationPid());
  EXPECT_TRUE(QString::fromStdString(folder.Read(".halvane-config.lock")).contains(pid));

  testing::internal::CaptureStderr();
  ScriptedQuestions second;
  second.open = UserQuestions::OpenChoice::ReadOnly;
  Workspace otherWorkspace;
  MainWindow other(otherWorkspace, second);
  other.OpenFolder(QString::fromStdString(folder.Path()));
  const std::string stderrLine = testing::internal::GetCapturedStderr();
  ASSERT_EQ(second.asked.size(), 1);
  EXPECT_TRUE(second.asked[0].contains(QStringLiteral("process %1").arg(pid)));
  EXPECT_NE(stderrLine.find("process " + pid.toStdString()), std::string::npos);
  EXPECT_EQ(std::count(stderrLine.begin(), stderrLine.end(), '\n'), 1);
  EXPECT_TRUE(other.windowTitle().contains(QStringLiteral("read-only")));
  EXPECT_FALSE(other.findChild<QAction*>(QStringLiteral("Command_SaveAll"))->isEnabled());
  EXPECT_FALSE(other.Profiles().findChild<QWidget*>(QStringLiteral("Command_New"))->isEnabled());

  // The holder's lock goes with its window.
  window.reset();
  EXPECT_FALSE(folder.Exists(".halvane-config.lock"));
}

TEST_F(SharedFolderTest, ALockLeftByAWindowThatEndedIsTakenOver) {
  folder.Write(".halvane-config.lock", "user=ghost\nhost=elsewhere\nprocess=999999\n");
  Open();
  EXPECT_TRUE(questions.asked.isEmpty());
  EXPECT_TRUE(window->Log().toPlainText().contains(QStringLiteral("ghost on elsewhere")));
  EXPECT_TRUE(QString::fromStdString(folder.Read(".halvane-config.lock"))
                  .contains(QString::number(QCoreApplication::applicationPid())));
}

}  // namespace
}  // namespace ConfigEditor
