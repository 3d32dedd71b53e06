// The Qt window over the model, on the offscreen platform: what the user types and
// clicks reaches the model, and what the program changes shows in the widgets.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "TestSupport.h"
#include "injector/BurstProgress.h"
#include "injector/FXL_MainWindow.h"
#include "injector/WindowMessages.h"

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

TEST_F(WindowViewTest, LongFileCaptionIsCutInTheMiddleWithTheWholePathInItsToolTip) {
  environment_.programFolder =
      folder_.filePath(QStringLiteral("a folder whose name is far too long to show in full/and "
                                      "another one of the same kind/bin"));
  Show();
  const QString caption = form_->Option_ConnectionType.Caption(2);
  QRadioButton* option = nullptr;
  for (QRadioButton* button : window_->findChildren<QRadioButton*>()) {
    if (button->toolTip() == caption) option = button;
  }
  ASSERT_NE(option, nullptr);
  window_->resize(500, window_->height());
  QCoreApplication::processEvents();
  EXPECT_LE(option->width(), 500);
  EXPECT_TRUE(option->text().startsWith(QStringLiteral("Create Generic File: ")))
      << option->text().toStdString();
  EXPECT_TRUE(option->text().endsWith(QStringLiteral("GenericFile.txt")))
      << option->text().toStdString();
  EXPECT_TRUE(option->text().contains(QChar(0x2026)));
  EXPECT_EQ(option->accessibleName(), caption);
}

TEST_F(WindowViewTest, StatusLineShowsTheLastBurst) {
  Show(QStringLiteral("/f"));
  ClickAt(QStringLiteral("Active"));
  auto* line = Find<QLabel>("Label_SendStatus");
  EXPECT_EQ(line->toolTip(), QStringLiteral("1 event sent by generic file, 0 not delivered"));
  EXPECT_EQ(line->text(), line->toolTip());
}

// The dialog shows at once here, instead of after half a second.
class BurstProgressTest : public WindowViewTest {
 protected:
  FXL_MainWindow& ShowWithProgressAtOnce() {
    FXL_MainWindow& window = Show(QStringLiteral("/f"));
    progress_ = std::make_unique<BurstProgress>(&window, std::chrono::milliseconds(0));
    form_->SetBurstFeedback(progress_.get());
    form_->Text_NumberOfEvents.SetText(QStringLiteral("100000"));
    return window;
  }
  int FileLines() const { return static_cast<int>(GenericFile().count('\n')); }

  std::unique_ptr<BurstProgress> progress_;
};

TEST_F(BurstProgressTest, LongBurstShowsABusyPointerAndProgressAndCanBeCancelled) {
  FXL_MainWindow& window = ShowWithProgressAtOnce();
  bool sawProgress = false;
  QTimer::singleShot(0, &window, [&] {
    auto* dialog = window.findChild<QProgressDialog*>();
    ASSERT_NE(dialog, nullptr);
    sawProgress = dialog->isVisible() && dialog->maximum() == 100000 &&
                  dialog->windowModality() == Qt::WindowModal &&
                  QGuiApplication::overrideCursor() != nullptr &&
                  QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor;
    dialog->findChild<QPushButton*>()->click();  // "Cancel"
  });
  ClickAt(QStringLiteral("Active"));
  EXPECT_TRUE(sawProgress);
  EXPECT_LT(FileLines(), 100000);
  EXPECT_EQ(form_->LastBurst().reason, FXL_Procs::Undelivered::kCancelled);
  EXPECT_EQ(window.findChild<QProgressDialog*>(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(BurstProgressTest, ClosingTheWindowDuringABurstCancelsItAndCloses) {
  FXL_MainWindow& window = ShowWithProgressAtOnce();
  QSignalSpy unloaded(form_.get(), &FXL_Main::Unloaded);
  QTimer::singleShot(0, &window, &QWidget::close);
  ClickAt(QStringLiteral("Active"));
  EXPECT_LT(FileLines(), 100000);
  EXPECT_EQ(unloaded.count(), 1);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(BurstProgressTest, AWaitForTheServerShowsWhatAndHowLongAtMostAndCanBeCancelled) {
  FXL_MainWindow& window = ShowWithProgressAtOnce();
  const qint64 bytes = qint64{39} * (1 << 20) / 10;
  EXPECT_TRUE(progress_->Waiting(bytes, std::chrono::milliseconds(9200)));
  auto* dialog = window.findChild<QProgressDialog*>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(
      dialog->labelText(),
      QStringLiteral("Waiting for the alarm server to take 3.9 MB (up to 10 s)") + QChar(0x2026));
  dialog->findChild<QPushButton*>()->click();
  EXPECT_FALSE(progress_->Waiting(bytes, std::chrono::milliseconds(100)));
  progress_->Finished();
  EXPECT_EQ(window.findChild<QProgressDialog*>(), nullptr);
}

TEST(WrapBetweenWords, KeepsAPathWholeAndCutsOnlyOneWiderThanTheBox) {
  const QFontMetrics metrics(QApplication::font());
  const QString path = QStringLiteral("/work/wt/a-rather-long/folder/bin/");
  const int width = metrics.horizontalAdvance(path + QStringLiteral(" and"));
  const QString text = QStringLiteral("looked for libHalvane3.so.3 in ") + path +
                       QStringLiteral(" and in the system's library path.");
  const QStringList lines = WrapBetweenWords(text, metrics, width).split(u'\n');
  EXPECT_TRUE(lines.contains(path) || lines.contains(path + QStringLiteral(" and")))
      << lines.join(u'|').toStdString();
  for (const QString& line : lines)
    EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();
  EXPECT_EQ(lines.join(u' '), text);

  const QString cut = WrapBetweenWords(path, metrics, width / 2);
  EXPECT_TRUE(cut.startsWith(QStringLiteral("/work")) && cut.endsWith(QStringLiteral("bin/")) &&
              cut.contains(QChar(0x2026)))
      << cut.toStdString();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
