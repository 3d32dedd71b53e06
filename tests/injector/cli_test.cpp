// Fauxlarm run as a real program, as scripts and engineers run it: a copy of the binary
// in a folder of its own (its program folder), settings in a temporary XDG_CONFIG_HOME,
// and no display at all unless a test asks for the offscreen one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include "injector/CommandLine.h"
#include "injector/SettingsStore.h"

namespace {

struct ProgramRun {
  int exitCode = -1;
  bool finished = false;
  QByteArray out;
  QByteArray err;
};

class FauxlarmCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
    ASSERT_TRUE(QFile::copy(QStringLiteral(FAUXLARM_BINARY), Program()));
    ASSERT_TRUE(QFile::copy(QStringLiteral(FAUXLARM_WINDOW_MODULE),
                            ProgramFolder() + QStringLiteral("/FauxlarmWindow.so")));
    environment_.remove(QStringLiteral("DISPLAY"));
    environment_.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment_.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment_.insert(QStringLiteral("XDG_CONFIG_HOME"),
                        root_.filePath(QStringLiteral("config")));
  }

  QString ProgramFolder() const { return root_.filePath(QStringLiteral("program")); }
  QString Program() const { return ProgramFolder() + QStringLiteral("/Fauxlarm"); }
  QString SettingsFile() const { return root_.filePath(QStringLiteral("config/Fauxlarm.ini")); }

  QString Saved(const QString& key) const {
    return SettingsStore(SettingsFile()).GetSetting(QStringLiteral("Parameters"), key, {});
  }

  QByteArray GenericFile() const {
    QFile file(ProgramFolder() + QStringLiteral("/GenericFile.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
  }

  // Runs the program; one that is still running after the time-out is killed.
  ProgramRun Start(const QStringList& arguments, int timeoutMs = 20000) {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(Program(), arguments);
    ProgramRun run;
    run.finished = process.waitForStarted() && process.waitForFinished(timeoutMs);
    if (!run.finished) {
      process.kill();
      process.waitForFinished();
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
  }

  QTemporaryDir root_;
  QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
};

TEST_F(FauxlarmCliTest, OneShotAppendsTheLineAndSavesTheTag) {
  const ProgramRun run = Start(
      {QStringLiteral("/f"), QStringLiteral("/t0:X"), QStringLiteral("/s1"), QStringLiteral("/u")});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(GenericFile(), "1|||X|A5|2|PressureFault|Pressure is bad|ACTIVE\r\n");
  EXPECT_EQ(Saved(QStringLiteral("Field_0")), QStringLiteral("X"));
  EXPECT_EQ(Saved(QStringLiteral("ConnectionType")), QStringLiteral("2"));
}

TEST_F(FauxlarmCliTest, HelpGoesToStandardOutputAndSavesWhatCameBefore) {
  const ProgramRun run = Start({QStringLiteral("/t0:X"), QStringLiteral("/?")});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, CommandLine::HelpText().toUtf8() + "\r\n");
  EXPECT_EQ(Saved(QStringLiteral("Field_0")), QStringLiteral("X"));
}

// A forwarded display whose SSH connection is gone: set, but nothing answers.
TEST_F(FauxlarmCliTest, UnreachableDisplayIsTreatedAsNone) {
  QTcpServer unused;
  ASSERT_TRUE(unused.listen(QHostAddress::LocalHost, 0));
  const quint16 port = unused.serverPort();
  unused.close();
  ASSERT_GT(port, 6000);
  environment_.insert(QStringLiteral("DISPLAY"), QStringLiteral("127.0.0.1:%1").arg(port - 6000));

  const ProgramRun help = Start({QStringLiteral("/?")});
  ASSERT_TRUE(help.finished);
  EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
  EXPECT_EQ(help.out, CommandLine::HelpText().toUtf8() + "\r\n");

  const ProgramRun window = Start({});
  ASSERT_TRUE(window.finished);
  EXPECT_EQ(window.exitCode, 2);
  EXPECT_TRUE(window.err.contains("no display")) << window.err.toStdString();

  const ProgramRun oneShot = Start({QStringLiteral("/f"), QStringLiteral("/u")});
  ASSERT_TRUE(oneShot.finished);
  EXPECT_EQ(oneShot.exitCode, 0) << oneShot.err.toStdString();
  EXPECT_TRUE(GenericFile().startsWith("0|||TA0220'GT41|")) << GenericFile().toStdString();
}

TEST_F(FauxlarmCliTest, WindowWithoutADisplayIsRefusedClearly) {
  const ProgramRun run = Start({QStringLiteral("/s1")});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.err.contains("no display")) << run.err.toStdString();
  EXPECT_FALSE(QFile::exists(SettingsFile()));
}

TEST_F(FauxlarmCliTest, OneShotWithoutTheExchangeLibrarySaysSoAndFails) {
  environment_.insert(QStringLiteral("LD_LIBRARY_PATH"), root_.path());
  const ProgramRun run = Start({QStringLiteral("/d"), QStringLiteral("/s1"), QStringLiteral("/u")});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 1);
  const QByteArray lookedFor = "looked for " HALVANE3_LIBRARY_SONAME " in " +
                               QFile::encodeName(ProgramFolder()) +
                               "/ and in the system's library path.";
  EXPECT_TRUE(run.err.contains(lookedFor)) << run.err.toStdString();
}

TEST_F(FauxlarmCliTest, OneShotThatCannotWriteTheFileFails) {
  ASSERT_TRUE(QDir().mkpath(ProgramFolder() + QStringLiteral("/GenericFile.txt")));
  const ProgramRun run = Start({QStringLiteral("/f"), QStringLiteral("/u")});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains("could not be appended to " + QFile::encodeName(ProgramFolder()) +
                               "/GenericFile.txt: Is a directory."))
      << run.err.toStdString();
}

TEST_F(FauxlarmCliTest, OneShotByTcpTellsThatNothingWasDeliveredAndFails) {
  SettingsStore settings(SettingsFile());
  settings.SaveSetting(QStringLiteral("Parameters"), QStringLiteral("NumberOfEvents"),
                       QStringLiteral("3"));
  ASSERT_TRUE(settings.Flush());
  const ProgramRun run = Start({QStringLiteral("/g"), QStringLiteral("/s1"), QStringLiteral("/u")});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "Fauxlarm: sending 3 events: the saved Number of events to send\n"
            "Fauxlarm: no alarm server was connected to port 14000: 0 of 3 events delivered; "
            "fauxlarm-play --tcp --wait waits for one\n");
}

TEST_F(FauxlarmCliTest, EmptyOptionStopsBeforeTheOneShotFlagSoTheWindowStaysOpen) {
  environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  const ProgramRun run = Start({QStringLiteral("/f"), QStringLiteral("//u")}, 2000);
  EXPECT_FALSE(run.finished);
  EXPECT_EQ(GenericFile(), "<none>");
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
