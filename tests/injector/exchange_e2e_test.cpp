// Fauxlarm's library method end to end: the real program loads the real exchange library
// from its own folder and puts its commands into command queue 0, where this test (attached
// to the same region, so that it outlives the program) and halvane3-monitor read them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "CommandQueue.h"
#include "SharedObjects.h"

namespace {

// Every name the library creates starts with this, so the test never meets a live region.
const std::string kPrefix = "fauxlarm-e2e-" + std::to_string(getpid()) + ".";

using GetCommandEntryFunction = int (*)(int*, char*, int*, int);

class ExchangeEndToEndTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    library_ = new QLibrary(QStringLiteral(HALVANE3_LIBRARY));
    ASSERT_TRUE(library_->load()) << library_->errorString().toStdString();
    getCommandEntry_ =
        reinterpret_cast<GetCommandEntryFunction>(library_->resolve("GetCommandEntry"));
    ASSERT_NE(getCommandEntry_, nullptr);
  }

  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
    for (const char* file : {FAUXLARM_BINARY, FAUXLARM_WINDOW_MODULE}) {
      const QString path = QString::fromUtf8(file);
      ASSERT_TRUE(QFile::copy(path, ProgramFolder() + u'/' + path.section(u'/', -1)));
    }
    // Under the name the system's loader knows it by, as an installation has it.
    ASSERT_TRUE(QFile::copy(QStringLiteral(HALVANE3_LIBRARY),
                            ProgramFolder() + QStringLiteral("/" HALVANE3_LIBRARY_SONAME)));
    environment_.remove(QStringLiteral("DISPLAY"));
    environment_.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment_.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment_.insert(QStringLiteral("XDG_CONFIG_HOME"),
                        root_.filePath(QStringLiteral("config")));
    Drain();
  }

  QString ProgramFolder() const { return root_.filePath(QStringLiteral("program")); }

  int Fauxlarm(const QStringList& arguments, int timeoutMs = 20000) {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(ProgramFolder() + QStringLiteral("/Fauxlarm"), arguments);
    if (!process.waitForFinished(timeoutMs)) {
      process.kill();
      process.waitForFinished();
      return -1;
    }
    return process.exitCode();
  }

  // The commands that arrived in queue 0 since the last call, as bytes.
  std::vector<std::string> Drain() { return DrainCommandQueue(getCommandEntry_, cursor_); }

  static QLibrary* library_;
  static GetCommandEntryFunction getCommandEntry_;
  int cursor_ = -1;
  QTemporaryDir root_;
  QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
};

QLibrary* ExchangeEndToEndTest::library_ = nullptr;
GetCommandEntryFunction ExchangeEndToEndTest::getCommandEntry_ = nullptr;

TEST_F(ExchangeEndToEndTest, AlarmsCarryTheChosenSystemAndMessagesTheSeparatorByte) {
  ASSERT_EQ(Fauxlarm({"/d", "/c:-1", "/t0:B\xC3\xA4r", "/s1", "/u"}), 0);
  ASSERT_EQ(Fauxlarm({"/d", "/c:2", "/s0", "/u"}), 0);
  ASSERT_EQ(Fauxlarm({"/d", "/t3:Duty", "Operator", "/t4:Hi", "there", "/s3", "/u"}), 0);
  EXPECT_EQ(Drain(), (std::vector<std::string>{
                         "TA:1|||B\xE4r|A5|2|PressureFault|Pressure is bad|ACTIVE|18",
                         "TA:0|||B\xE4r|A5|2|PressureFault|Pressure is bad|ACTIVE|40",
                         "FT:Duty Operator\xFEHi there",
                     }));
}

TEST_F(ExchangeEndToEndTest, BurstLongerThanTheQueueLeavesFiftyCommands) {
  {
    QSettings settings(root_.filePath(QStringLiteral("config/Fauxlarm.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Parameters/NumberOfEvents"), QStringLiteral("60"));
  }
  ASSERT_EQ(Fauxlarm({"/d", "/s1", "/u"}), 0);
  cursor_ = -1;  // a reader that starts now finds the ring full
  const std::vector<std::string> entries = Drain();
  EXPECT_EQ(entries.size(), 50u);
  EXPECT_EQ(entries.back(), "TA:1|||TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE|18");
}

TEST_F(ExchangeEndToEndTest, MonitorShowsTheMessageAsItArrives) {
  // The monitor starts with what the queue holds already, then follows it.
  QProcess monitor;
  monitor.setProcessEnvironment(environment_);
  monitor.start(QStringLiteral(HALVANE3_MONITOR), {});
  ASSERT_TRUE(monitor.waitForStarted());
  ASSERT_EQ(Fauxlarm({"/d", "/t3:Duty", "Operator", "/t4:Hi", "there", "/s3", "/u"}), 0);
  QByteArray shown;
  QElapsedTimer timer;
  timer.start();
  while (!shown.contains("Hi there\n") && timer.elapsed() < 10000) {
    monitor.waitForReadyRead(100);
    shown += monitor.readAllStandardOutput();
  }
  monitor.kill();
  monitor.waitForFinished();
  EXPECT_TRUE(shown.contains("FT:Duty Operator<FE>Hi there")) << shown.toStdString();
}

TEST_F(ExchangeEndToEndTest, EmptyOptionBeforeTheOneShotFlagSendsNothing) {
  environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  EXPECT_EQ(Fauxlarm({"/d", "//u"}, 2000), -1);  // still open, killed
  EXPECT_TRUE(Drain().empty());
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("HALVANE3_NAME_PREFIX", QByteArray::fromStdString(kPrefix));
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  RemoveSharedObjects(kPrefix);
  return status;
}
