// The Qt window over the model, on the offscreen platform: what the user types and
// clicks reaches the model, and what the program changes shows in the widgets.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "TestSupport.h"
#include "injector/FXL_MainWindow.h"

namespace {

class WindowViewTest : public FormTest {
 protected:
  FXL_MainWindow& Show(const QString& commandLine = {}) {
    Start(commandLine);
    window_ = std::make_unique<FXL_MainWindow>(*form_);
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    return *window_;
  }

  // Clicks the middle of the button's caption, as a user would (an option button wider
  // than its caption does not react to clicks beside it).
  void ClickAt(const QString& caption) {
    for (QAbstractButton* button : window_->findChildren<QAbstractButton*>()) {
      if (button->text() == caption) {
        const int width = qMin(button->width(), button->sizeHint().width());
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(width / 2, button->height() / 2));
        return;
      }
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
  }

  template <typename Widget>
  Widget* Find(const char* name) {
    auto* widget = window_->findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  std::unique_ptr<FXL_MainWindow> window_;
};

TEST_F(WindowViewTest, ShowsSixGroupsInOrderUnderTheTitle) {
  FXL_MainWindow& window = Show();
  QStringList titles;
  for (QGroupBox* group : window.findChildren<QGroupBox*>())
    titles << group->title();
  EXPECT_EQ(titles,
            (QStringList{"&Send event of type:", "&Time stamp", "&Information fields",
                         "&Connection method", "&Status and other settings", "&Automatic alarms"}));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Fauxlarm version 3.00.00"));
  EXPECT_EQ(Find<QLineEdit>("Text_Field(0)")->text(), QStringLiteral("TA0220'GT41"));
}

TEST_F(WindowViewTest, TypingReachesTheModelAndProgramChangesShow) {
  Show();
  QLineEdit* tag = Find<QLineEdit>("Text_Field(0)");
  tag->clear();
  QTest::keyClicks(tag, QStringLiteral("PUMP-7"));
  EXPECT_EQ(form_->Text_Field[0].Text(), QStringLiteral("PUMP-7"));
  form_->Text_Connect.SetText(QStringLiteral("Connected"));
  EXPECT_EQ(Find<QLineEdit>("Text_Connect")->text(), QStringLiteral("Connected"));
  EXPECT_TRUE(Find<QLineEdit>("Text_Connect")->isReadOnly());
}

TEST_F(WindowViewTest, LibraryOptionShowsTheSystemListWithItsToolTip) {
  Show();
  QComboBox* systems = Find<QComboBox>("Combo_Systems");
  EXPECT_FALSE(systems->isVisible());
  ClickAt(QStringLiteral("DLL calls to Halvane3.DLL"));
  EXPECT_EQ(form_->Option_ConnectionType.Selected(), 1);
  EXPECT_TRUE(systems->isVisible());
  EXPECT_EQ(systems->count(), 57);
  EXPECT_EQ(systems->currentText(), QStringLiteral("Generic TCP (Client)"));
  EXPECT_EQ(systems->toolTip(), QStringLiteral("System number: 18"));

  systems->activated(0);  // the user picks the first entry
  EXPECT_EQ(form_->Combo_Systems.ListIndex(), 0);
  EXPECT_EQ(systems->toolTip(), QStringLiteral("System number: 51"));
  form_->Combo_Systems.SetListIndex(-1);
  EXPECT_EQ(systems->currentText(), QString());
}

TEST_F(WindowViewTest, ButtonsSendAndClosingSavesAndEnds) {
  Show(QStringLiteral("/f /t0:Pump"));
  ClickAt(QStringLiteral("Acked"));
  EXPECT_EQ(GenericFile(), "2|||Pump|A5|2|PressureFault|Pressure is bad|ACTIVE\r\n");

  QSignalSpy unloaded(form_.get(), &FXL_Main::Unloaded);
  window_->close();
  EXPECT_EQ(unloaded.count(), 1);
  settings_ = std::make_unique<SettingsStore>(SettingsFile());
  EXPECT_EQ(Saved(QStringLiteral("Field_0")), QStringLiteral("Pump"));
}

TEST_F(WindowViewTest, DisabledTcpOptionCannotBeClicked) {
  QTcpServer other;
  ASSERT_TRUE(other.listen(QHostAddress::Any, 0));
  environment_.listenPort = other.serverPort();
  Show(QStringLiteral("/f"));
  ClickAt(QStringLiteral("Generic TCP (port 14000)"));
  EXPECT_EQ(form_->Option_ConnectionType.Selected(), 2);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
