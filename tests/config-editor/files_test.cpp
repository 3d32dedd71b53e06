// What the window saves is what the configuration classes load back; unsaved changes are
// marked and asked about.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "EditorFixture.h"
#include "ScriptedFileOperations.h"
#include "common/ProgramServices.h"
#include "config-editor/LogPane.h"
#include "config-editor/ProfilesPage.h"
#include "config-editor/ReceiversPage.h"
#include "config-editor/ScheduleEditorPanel.h"

namespace ConfigEditor {
namespace {

namespace hc = Halvane_Config;
using Halvane_Common_Procedures::Variant;
using Halvane_Common_Procedures::VariantType;

class FilesTest : public EditorTest {
 protected:
  void SetUp() override { Open(); }

  template <typename Widget>
  Widget* Child(QWidget& within, const QString& name) {
    auto* child = within.findChild<Widget*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
  }
  void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  void SetSetting(int index, VariantType type, const QString& text) {
    auto* combo = Child<QComboBox>(window->Receivers(),
                                   QStringLiteral("Combo_Receiver_SettingType(%1)").arg(index));
    combo->setCurrentIndex(combo->findData(static_cast<int>(type)));
    emit combo->activated(combo->currentIndex());
    auto* edit = Child<QLineEdit>(window->Receivers(),
                                  QStringLiteral("Text_Receiver_Setting(%1)").arg(index));
    Type(edit, text);
    emit edit->editingFinished();
  }
  bool Marked() const { return window->windowTitle().contains(u'*'); }
};

TEST_F(FilesTest, ASavedReceiverLoadsBackAsTheFormShowedIt) {
  window->Tabs().setCurrentIndex(MainWindow::kReceiversTab);
  EXPECT_FALSE(Marked());
  ClickNew(window->Receivers());
  EXPECT_TRUE(Marked());
  Type(Child<QLineEdit>(window->Receivers(), QStringLiteral("Text_Receiver_Name")),
       QStringLiteral("Pager east"));
  Type(Child<QLineEdit>(window->Receivers(), QStringLiteral("Text_Receiver_BackupReceiver")),
       QStringLiteral("Pager west"));
  Child<QSpinBox>(window->Receivers(), QStringLiteral("Text_Receiver_TypeId"))->setValue(12);
  Child<QCheckBox>(window->Receivers(), QStringLiteral("Check_Receiver_Enabled"))
      ->setChecked(false);
  SetSetting(0, VariantType::Integer, QStringLiteral("42"));
  SetSetting(1, VariantType::String, QStringLiteral("COM3"));
  SetSetting(2, VariantType::Double, QStringLiteral("2.5"));

  ASSERT_TRUE(window->SaveAll());
  EXPECT_FALSE(Marked());
  EXPECT_TRUE(questions.errors.isEmpty());
  const std::shared_ptr<hc::cReceiver>& shown = workspace->Receivers().At(0);
  hc::cReceiver loaded;
  ASSERT_TRUE(loaded.LoadFromDisk(shown->m_DiskIdentity));
  EXPECT_EQ(loaded.m_ReceiverName, u"Pager east");
  EXPECT_EQ(loaded.m_BackupReceiver, u"Pager west");
  EXPECT_EQ(loaded.GetReceiverTypeId(), 12);
  EXPECT_FALSE(loaded.m_Enabled);
  EXPECT_EQ(loaded.GetSetting(0), Variant(std::int16_t{42}));
  EXPECT_EQ(loaded.GetSetting(1), Variant(u"COM3"));
  EXPECT_EQ(loaded.GetSetting(2), Variant(2.5));
  EXPECT_EQ(loaded.GetSetting(3), Variant());
}

TEST_F(FilesTest, ASavedProfileAndItsDuplicateLoadBackWithTheirSchedules) {
  ClickNew(window->Profiles());
  Type(Child<QLineEdit>(window->Profiles(), QStringLiteral("Text_Profile_Name")),
       QStringLiteral("Night shift"));
  SurfaceWidget& surface = window->Profiles().Editor().Surface();
  // 22:00 back to 06:00 on the second row
  Drag(surface, At(surface, {30 + 22 * 12, 36}), At(surface, {30 + 6 * 12, 36}));
  QTest::mouseClick(Child<QWidget>(window->Profiles(), QStringLiteral("Command_Duplicate")),
                    Qt::LeftButton);
  ASSERT_EQ(workspace->Profiles().Count(), 2);

  ASSERT_TRUE(window->SaveAll());
  EXPECT_FALSE(Marked());
  for (int i = 0; i < 2; ++i) {
    const std::shared_ptr<hc::cProfile>& shown = workspace->Profiles().At(i);
    hc::cProfile loaded;
    ASSERT_TRUE(loaded.LoadFromDisk(shown->m_DiskIdentity));
    EXPECT_EQ(loaded.GetName(), shown->GetName());
    EXPECT_EQ(loaded.m_TimeSchedule->ComposePeriodArray(),
              shown->m_TimeSchedule->ComposePeriodArray());
    EXPECT_FALSE(loaded.m_TimeSchedule->GetPeriods(1).empty());
  }
  EXPECT_EQ(workspace->Profiles().At(0)->GetName(), u"Night shift");
  EXPECT_NE(workspace->Profiles().At(0)->m_DiskIdentity,
            workspace->Profiles().At(1)->m_DiskIdentity);

  // Read again, the folder shows the same, unmarked.
  Open();
  EXPECT_EQ(workspace->Profiles().Count(), 2);
  EXPECT_FALSE(Marked());
}

TEST_F(FilesTest, LeavingAnEntryWithUnsavedChangesAsks) {
  ClickNew(window->Receivers());
  ClickNew(window->Receivers());  // the first is new: asked, and cancelled
  EXPECT_EQ(questions.asked.size(), 1);
  EXPECT_EQ(workspace->Receivers().Count(), 1);

  questions.choices = {UserQuestions::Choice::Save};
  ClickNew(window->Receivers());
  EXPECT_EQ(workspace->Receivers().Count(), 2);
  EXPECT_FALSE(workspace->Receivers().IsModified(0));
  EXPECT_EQ(window->Receivers().List().Current(), 1);

  questions.choices = {UserQuestions::Choice::Discard};
  window->Receivers().List().List().setCurrentItem(
      window->Receivers().List().List().topLevelItem(0));
  EXPECT_EQ(workspace->Receivers().Count(), 1);  // the new one went
  EXPECT_EQ(window->Receivers().List().Current(), 0);
  EXPECT_FALSE(Marked());
}

TEST_F(FilesTest, ClosingWithUnsavedChangesAsksToSaveDiscardOrStay) {
  ClickNew(window->Profiles());
  questions.choices = {UserQuestions::Choice::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());

  questions.choices = {UserQuestions::Choice::Save};
  EXPECT_TRUE(window->close());
  EXPECT_EQ(folder.Entries("Profiles").size(), 1u);

  Open();
  Child<QCheckBox>(window->Profiles(), QStringLiteral("Check_Profile_Enabled"))->toggle();
  EXPECT_TRUE(Marked());
  questions.choices = {UserQuestions::Choice::Discard};
  EXPECT_TRUE(window->close());
  Open();
  EXPECT_TRUE(workspace->Profiles().At(0)->m_Enabled);
}

TEST_F(FilesTest, AFailedSaveSaysSoAndKeepsTheChanges) {
  ClickNew(window->Profiles());
  // A file where the profiles' folder should be: the folder cannot be made.
  std::filesystem::remove_all(folder.PathOf("Profiles"));
  folder.Write("Profiles", "not a folder");
  EXPECT_FALSE(window->SaveAll());
  ASSERT_EQ(questions.errors.size(), 1);
  EXPECT_TRUE(questions.errors[0].contains(QStringLiteral("could not be saved")));
  EXPECT_TRUE(Marked());
  EXPECT_FALSE(window->Log().toPlainText().isEmpty());
}

TEST_F(FilesTest, AFullDiskIsToldOnceForEverythingSavedTogether) {
  ClickNew(window->Profiles());
  window->Tabs().setCurrentIndex(MainWindow::kReceiversTab);
  ClickNew(window->Receivers());
  hc::ScriptedFileOperations operations;
  operations.Fail(hc::ScriptedFileOperations::Call::Write, ENOSPC);
  EXPECT_FALSE(window->SaveAll());
  ASSERT_EQ(questions.errors.size(), 1);
  for (const char* part : {"The profile \"New profile\" (new), The receiver \"New receiver\" (new) "
                           "could not",
                           "The disk is full", "Err:Disk full"})
    EXPECT_TRUE(questions.errors[0].contains(QString::fromUtf8(part)))
        << questions.errors[0].toStdString();
  EXPECT_TRUE(Marked());
  EXPECT_TRUE(folder.Entries("Profiles").empty());
  EXPECT_TRUE(folder.Entries("Receivers").empty());
}

TEST_F(FilesTest, AFileThatCannotBeLoadedIsListedButNeverSavedOver) {
  folder.Write("Profiles/Profile_0042.dat", "x");
  Open();
  ASSERT_EQ(workspace->Profiles().Count(), 1);
  const ObjectList::Row row = workspace->Profiles().RowAt(0);
  EXPECT_FALSE(row.readable);
  EXPECT_EQ(row.identity, 42);
  EXPECT_FALSE(row.problem.isEmpty());
  EXPECT_FALSE(Marked());
  EXPECT_FALSE(
      Child<QWidget>(window->Profiles(), QStringLiteral("Text_Profile_Name"))->isEnabled());
  EXPECT_FALSE(
      Child<QWidget>(window->Profiles(), QStringLiteral("Command_Duplicate"))->isEnabled());
  EXPECT_TRUE(window->SaveAll());
  EXPECT_EQ(folder.Read("Profiles/Profile_0042.dat"), "x");

  // Remove asks, then deletes the file.
  questions.confirm = false;
  QTest::mouseClick(Child<QWidget>(window->Profiles(), QStringLiteral("Command_Remove")),
                    Qt::LeftButton);
  EXPECT_TRUE(folder.Exists("Profiles/Profile_0042.dat"));
  questions.confirm = true;
  QTest::mouseClick(Child<QWidget>(window->Profiles(), QStringLiteral("Command_Remove")),
                    Qt::LeftButton);
  EXPECT_FALSE(folder.Exists("Profiles/Profile_0042.dat"));
  EXPECT_EQ(workspace->Profiles().Count(), 0);
}

TEST_F(FilesTest, ASettingThatIsNoValueOfItsKindIsMarkedAndNotTaken) {
  ClickNew(window->Receivers());
  SetSetting(0, VariantType::Date, QStringLiteral("2026-04-31"));
  auto* edit = Child<QLineEdit>(window->Receivers(), QStringLiteral("Text_Receiver_Setting(0)"));
  EXPECT_FALSE(edit->toolTip().isEmpty());
  EXPECT_EQ(workspace->Receivers().At(0)->GetSetting(0).Type(), VariantType::Empty);
  SetSetting(0, VariantType::Date, QStringLiteral("2026-04-30"));
  EXPECT_TRUE(edit->toolTip().isEmpty());
  EXPECT_EQ(workspace->Receivers().At(0)->GetSetting(0).Type(), VariantType::Date);
}

TEST_F(FilesTest, AReceiverWithRedSettingsStaysUnsavedAndSaveAllSaysWhy) {
  ClickNew(window->Receivers());
  SetSetting(0, VariantType::Integer, QStringLiteral("1234"));
  ClickNew(window->Profiles());
  ASSERT_TRUE(window->SaveAll());
  const std::string path = workspace->Receivers().FileName(0).toStdString();
  const std::string saved = folder.Read(path.substr(folder.Path().size()));

  // Over a valid value, an invalid one is an unsaved change.
  SetSetting(0, VariantType::Integer, QStringLiteral("99999"));
  EXPECT_TRUE(Marked());
  SetSetting(1, VariantType::Date, QStringLiteral("31.04.2026"));
  SetSetting(2, VariantType::Boolean, QStringLiteral("yes"));
  Type(Child<QLineEdit>(window->Profiles(), QStringLiteral("Text_Profile_Name")),
       QStringLiteral("Saved anyway"));

  EXPECT_FALSE(window->SaveAll());
  EXPECT_EQ(folder.Read(path.substr(folder.Path().size())), saved);
  EXPECT_FALSE(workspace->Profiles().IsModified(0));  // the rest was saved
  ASSERT_EQ(questions.errors.size(), 1);
  EXPECT_TRUE(questions.errors[0].contains(QStringLiteral("New receiver")));
  EXPECT_TRUE(questions.errors[0].contains(QStringLiteral("-32,768..32,767")));
  EXPECT_TRUE(questions.errors[0].contains(QStringLiteral("no 31 April")));
  EXPECT_EQ(window->Log().toPlainText().count(QStringLiteral("Not saved:")), 1);
  EXPECT_TRUE(Marked());
  // What was typed stays in the form, red, across a look at another tab.
  window->Profiles().List().Select(0);
  window->Receivers().List().Select(0);
  auto* edit = Child<QLineEdit>(window->Receivers(), QStringLiteral("Text_Receiver_Setting(0)"));
  EXPECT_EQ(edit->text(), QStringLiteral("99999"));
  EXPECT_TRUE(edit->styleSheet().contains(QStringLiteral("red")));

  // Closing asks, as for any unsaved change; mended, it saves.
  questions.choices = {UserQuestions::Choice::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(questions.asked.back().contains(QStringLiteral("New receiver")));
  SetSetting(0, VariantType::Integer, QStringLiteral("-32768"));
  SetSetting(1, VariantType::Date, QStringLiteral("30.04.2026"));
  EXPECT_TRUE(window->SaveAll());
  hc::cReceiver loaded;
  ASSERT_TRUE(loaded.LoadFromDisk(workspace->Receivers().At(0)->m_DiskIdentity));
  EXPECT_EQ(loaded.GetSetting(0), Variant(std::int16_t{-32768}));
  EXPECT_EQ(loaded.GetSetting(2), Variant(true));
}

TEST_F(FilesTest, AfterStayingOnAnEntryTheListShowsThatEntrySelected) {
  for (int i = 0; i < 2; ++i) {
    questions.choices = {UserQuestions::Choice::Save};
    ClickNew(window->Receivers());
  }
  window->Tabs().setCurrentIndex(MainWindow::kReceiversTab);
  window->Receivers().List().Select(0);
  Type(Child<QLineEdit>(window->Receivers(), QStringLiteral("Text_Receiver_Name")),
       QStringLiteral("Edited"));
  QTreeWidget& tree = window->Receivers().List().List();
  questions.choices = {UserQuestions::Choice::Cancel};
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                    tree.visualItemRect(tree.topLevelItem(1)).center());
  QCoreApplication::processEvents();
  EXPECT_EQ(window->Receivers().List().Current(), 0);
  EXPECT_EQ(tree.selectedItems(), QList<QTreeWidgetItem*>{tree.topLevelItem(0)});
  EXPECT_EQ(tree.currentItem(), tree.topLevelItem(0));
}

TEST_F(FilesTest, DiscardAllReadsTheFilesAgain) {
  ClickNew(window->Receivers());
  ASSERT_TRUE(window->SaveAll());
  ClickNew(window->Profiles());
  questions.choices = {UserQuestions::Choice::Discard};
  window->Receivers().List().Select(0);
  Type(Child<QLineEdit>(window->Receivers(), QStringLiteral("Text_Receiver_Name")),
       QStringLiteral("Changed"));
  ASSERT_TRUE(Marked());

  questions.confirm = false;
  window->findChild<QAction*>(QStringLiteral("Command_DiscardAll"))->trigger();
  EXPECT_TRUE(Marked());
  questions.confirm = true;
  window->findChild<QAction*>(QStringLiteral("Command_DiscardAll"))->trigger();
  EXPECT_FALSE(Marked());
  EXPECT_EQ(workspace->Profiles().Count(), 0);  // the new one went
  ASSERT_EQ(workspace->Receivers().Count(), 1);
  EXPECT_NE(workspace->Receivers().At(0)->m_ReceiverName, u"Changed");
  EXPECT_NE(Child<QLineEdit>(window->Receivers(), QStringLiteral("Text_Receiver_Name"))->text(),
            QStringLiteral("Changed"));
}

TEST_F(FilesTest, LogLinesOfTheClassesShowInThePane) {
  Halvane_Common_Procedures::LogMessage(u"A line of the classes");
  EXPECT_TRUE(window->Log().toPlainText().contains(QStringLiteral("A line of the classes")));
}

}  // namespace
}  // namespace ConfigEditor
