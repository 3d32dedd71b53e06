#include <QTcpServer>

#include "TestSupport.h"
#include "common/ProgramServices.h"

namespace {

using WindowTest = FormTest;

TEST_F(WindowTest, FirstRunShowsTheDesignDefaults) {
  FXL_Main& form = Start();
  EXPECT_EQ(outcome_, FXL_Main::StartOutcome::ShowWindow);
  const char* fields[] = {"TA0220'GT41", "A5", "2", "PressureFault", "Pressure is bad", "ACTIVE"};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(form.Text_Field[i].Text(), QString::fromUtf8(fields[i]));
  EXPECT_EQ(form.Text_Date.Text(), QString());
  EXPECT_EQ(form.Text_Time.Text(), QString());
  EXPECT_EQ(form.Text_NumberOfEvents.Text(), QStringLiteral("1"));
  EXPECT_EQ(form.Text_SendInterval.Text(), QStringLiteral("60"));
  EXPECT_EQ(form.Text_Connect.Text(), QStringLiteral("Not Connected"));
  EXPECT_EQ(form.Option_ConnectionType.Selected(), 0);
  EXPECT_FALSE(form.Combo_Systems.Visible());
  EXPECT_FALSE(form.Label_System.Visible());
  EXPECT_EQ(form.Combo_Systems.Text(), QStringLiteral("Generic TCP (Client)"));
  EXPECT_EQ(form.Combo_Systems.ToolTip(), QStringLiteral("System number: 18"));
  EXPECT_EQ(form.Check_SetDateAndTime.Value(), 0);
  EXPECT_EQ(form.Check_AppendRandomNumbersToTag.Value(), 0);
  EXPECT_EQ(form.Caption(), QStringLiteral("Fauxlarm version 3.00.00"));
  EXPECT_TRUE(form.Timer.isActive());
  EXPECT_TRUE(form.Timer_SetDateAndTime.isActive());
  EXPECT_EQ(form.Timer.interval(), 100);
  EXPECT_EQ(form.Timer_SetDateAndTime.interval(), 500);
}

TEST_F(WindowTest, FileOptionNamesTheFileInTheProgramFolder) {
  FXL_Main& form = Start();
  EXPECT_EQ(QString::fromStdU16String(Halvane_Common_Procedures::ProgramFolder()),
            folder_.path() + u'/');
  EXPECT_EQ(form.Option_ConnectionType.Caption(2), QStringLiteral("Create Generic File: ") +
                                                       folder_.path() +
                                                       QStringLiteral("/GenericFile.txt"));
}

TEST_F(WindowTest, SystemListHoldsTheCatalogueSortedByName) {
  FXL_Main& form = Start();
  const ComboControl& list = form.Combo_Systems;
  ASSERT_EQ(list.ListCount(), 57);
  for (int i = 1; i < list.ListCount(); ++i) {
    EXPECT_LT(QString::compare(list.At(i - 1).name, list.At(i).name, Qt::CaseInsensitive), 0);
  }
  EXPECT_EQ(list.At(0).name, QStringLiteral("ABB 800xA"));
  EXPECT_EQ(list.At(0).itemData, 51);
  EXPECT_EQ(list.At(2).name, QStringLiteral("ABB MasterPiece"));
}

TEST_F(WindowTest, SystemListShowsOnlyForTheLibraryMethod) {
  FXL_Main& form = Start();
  form.Option_ConnectionType.Select(1);
  EXPECT_TRUE(form.Combo_Systems.Visible());
  EXPECT_TRUE(form.Label_System.Visible());
  form.Option_ConnectionType.Select(2);
  EXPECT_FALSE(form.Combo_Systems.Visible());
  EXPECT_FALSE(form.Label_System.Visible());
}

TEST_F(WindowTest, ChoosingASystemSetsTheToolTipButTypingOnlyTheText) {
  FXL_Main& form = Start();
  form.Combo_Systems.SetListIndex(0);
  EXPECT_EQ(form.Combo_Systems.ToolTip(), QStringLiteral("System number: 51"));
  form.Combo_Systems.SetText(QStringLiteral("My own SCADA"));
  EXPECT_EQ(form.Combo_Systems.ListIndex(), -1);
  EXPECT_EQ(form.Combo_Systems.ToolTip(), QStringLiteral("System number: 51"));
}

TEST_F(WindowTest, ClosingSavesEverySettingAndTheNextStartRestoresIt) {
  const QString tricky[] = {
      QStringLiteral("a, b"),
      QStringLiteral("\"quoted\""),
      QStringLiteral("x|y"),
      QStringLiteral("C:\\dir\\"),
      QStringLiteral("k=v; #note"),
      QStringLiteral("  padded  "),
      QString::fromUtf8("\xC3\x85ngstr\xC3\xB6m \xE2\x82\xAC \xE6\x97\xA5"),
      QString(),
  };
  FXL_Main& form = Start();
  for (int i = 0; i < 6; ++i)
    form.Text_Field[i].SetText(tricky[i + 1]);
  form.Text_Date.SetText(tricky[0]);
  form.Text_Time.SetText(tricky[7]);
  form.Text_NumberOfEvents.SetText(QStringLiteral("@3"));
  form.Text_SendInterval.SetText(QStringLiteral("2.5 s"));
  form.Check_SetDateAndTime.SetValue(1);
  form.Check_AppendRandomNumbersToTag.SetValue(1);
  form.Option_ConnectionType.Select(2);
  form.Combo_Systems.SetText(QStringLiteral("Regin EXO4"));
  Close();
  EXPECT_EQ(Saved(QStringLiteral("ConnectionType")), QStringLiteral("2"));
  EXPECT_EQ(Saved(QStringLiteral("SCADA System")), QStringLiteral("Regin EXO4"));

  FXL_Main& again = Start();
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(again.Text_Field[i].Text(), tricky[i + 1]) << i;
  EXPECT_EQ(again.Text_Date.Text(), tricky[0]);
  EXPECT_EQ(again.Text_Time.Text(), QString());
  EXPECT_EQ(again.Text_NumberOfEvents.Text(), QStringLiteral("@3"));
  EXPECT_EQ(again.Text_SendInterval.Text(), QStringLiteral("2.5 s"));
  EXPECT_EQ(again.Check_SetDateAndTime.Value(), 1);
  EXPECT_EQ(again.Check_AppendRandomNumbersToTag.Value(), 1);
  EXPECT_EQ(again.Option_ConnectionType.Selected(), 2);
  ASSERT_GE(again.Combo_Systems.ListIndex(), 0);
  EXPECT_EQ(again.Combo_Systems.At(again.Combo_Systems.ListIndex()).itemData, 25);
  EXPECT_EQ(again.Combo_Systems.ToolTip(), QStringLiteral("System number: 25"));
}

TEST_F(WindowTest, SavedLibraryMethodShowsTheSystemList) {
  Save(QStringLiteral("ConnectionType"), QStringLiteral("1"));
  FXL_Main& form = Start();
  EXPECT_EQ(form.Option_ConnectionType.Selected(), 1);
  EXPECT_TRUE(form.Combo_Systems.Visible());
  EXPECT_TRUE(form.Label_System.Visible());
}

TEST_F(WindowTest, ValuesTheProgramNeverWritesFallBackToDefaults) {
  const struct {
    const char* connectionType;
    const char* check;
    int selected;
    int checkValue;
  } cases[] = {{"7", "x", 0, 0},
               {"-1", "5", 0, 0},
               {"abc", "-1", 0, 0},
               {"1.6", "2", 2, 2},
               {" 1 ", "1.4", 1, 1}};
  for (const auto& c : cases) {
    Save(QStringLiteral("ConnectionType"), QString::fromUtf8(c.connectionType));
    Save(QStringLiteral("AutoDateAndTime"), QString::fromUtf8(c.check));
    Save(QStringLiteral("AppendRandomNumbersToTag"), QString::fromUtf8(c.check));
    FXL_Main& form = Start();
    EXPECT_EQ(form.Option_ConnectionType.Selected(), c.selected) << c.connectionType;
    EXPECT_EQ(form.Check_SetDateAndTime.Value(), c.checkValue) << c.check;
    EXPECT_EQ(form.Check_AppendRandomNumbersToTag.Value(), c.checkValue) << c.check;
  }
}

TEST_F(WindowTest, TakenPortDisablesTcpAndMovesToTheLibraryMethod) {
  QTcpServer other;
  ASSERT_TRUE(other.listen(QHostAddress::Any, 0));
  environment_.listenPort = other.serverPort();
  FXL_Main& form = Start();
  EXPECT_FALSE(form.Option_ConnectionType.Enabled(0));
  EXPECT_EQ(form.Option_ConnectionType.Selected(), 1);
  EXPECT_TRUE(form.Combo_Systems.Visible());
  EXPECT_TRUE(messages_.errors.empty());

  Save(QStringLiteral("ConnectionType"), QStringLiteral("2"));
  EXPECT_EQ(Start().Option_ConnectionType.Selected(), 2);  // only a TCP choice moves
}

TEST_F(WindowTest, HandEditedFieldsGoOutAsTypedAndAreSavedSo) {
  WriteSettingsFile(
      "[Parameters]\n"
      "Field_1=A5;B\n"
      "Field_3=Pump 3, hall B\n"
      "Field_4=C:\\temp\\new\n");
  FXL_Main& form = Start(QStringLiteral("/f"));
  StampDateAndTime(form);
  form.Command_Alarm_Click(1);
  EXPECT_EQ(GenericFile(),
            "1|2015-05-05|12:55:54|TA0220'GT41|A5;B|2|Pump 3, hall B|C:\\temp\\new|ACTIVE\r\n");
  Close();
  QFile file(SettingsFile());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray saved = file.readAll();
  EXPECT_TRUE(saved.contains("\nField_4=C:\\temp\\new\n")) << saved.toStdString();
  EXPECT_TRUE(saved.contains("\nField_3=Pump 3, hall B\n")) << saved.toStdString();
}

TEST_F(WindowTest, GarbageSettingsAreReplacedWithoutComplaint) {
  WriteSettingsFile("\x01\xFF garbage\n[Parameters\nField_0=\"unterminated\n");
  Start(QStringLiteral("/t0:X")).Form_Unload();
  EXPECT_TRUE(messages_.errors.empty()) << messages_.errors[0].text.toStdString();
  settings_ = std::make_unique<SettingsStore>(SettingsFile());
  EXPECT_EQ(Saved(QStringLiteral("Field_0")), QStringLiteral("X"));
}

TEST_F(WindowTest, UnsavableSettingsAreReported) {
  settings_ = std::make_unique<SettingsStore>(QStringLiteral("/proc/no/Fauxlarm.ini"));
  environment_.settings = settings_.get();
  Start().Form_Unload();
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(messages_.errors[0].text.contains(QStringLiteral("could not be saved")));
}

}  // namespace
