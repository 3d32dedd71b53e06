// Doubles and a fixture that run the main window's model with no display: a temporary
// program folder and settings file, a recording exchange library and message sink, a
// fixed clock, and a listener on a free port.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "injector/CommandQueueLibrary.h"
#include "injector/FXL_Main.h"
#include "injector/SettingsStore.h"
#include "injector/UserMessages.h"

class RecordingLibrary : public CommandQueueLibrary {
 public:
  bool SetCommandEntry(const std::string& command, int queue, QString* error) override {
    ++calls;
    if (!failure.isEmpty()) {
      *error = failure;
      return false;
    }
    commands.push_back(command);
    queues.push_back(queue);
    return true;
  }

  QString failure;
  int calls = 0;
  std::vector<std::string> commands;
  std::vector<int> queues;
};

class RecordingMessages : public UserMessages {
 public:
  void ShowInformation(const QString& title, const QString& text) override {
    information.push_back({title, text});
  }
  void ShowError(const QString& title, const QString& text) override {
    errors.push_back({title, text});
    if (whileErrorShown) whileErrorShown();
  }

  // Runs while an error is shown, as the events that a modal box lets in would.
  std::function<void()> whileErrorShown;

  struct Message {
    QString title;
    QString text;
  };
  std::vector<Message> information;
  std::vector<Message> errors;
};

// Watches bursts as the window's progress dialog does: records what it is told, and may
// act (a tick, a close) or cancel when the burst has come so far.
class RecordingFeedback : public BurstFeedback {
 public:
  bool Continue(std::int32_t done, std::int32_t requested) override {
    progress.push_back(done);
    lastRequested = requested;
    if (whileRunning) whileRunning(done);
    return cancelAt < 0 || done < cancelAt;
  }
  bool Waiting(qint64 bytes, std::chrono::milliseconds left) override {
    waits.push_back({bytes, left});
    return !cancelWaits;
  }
  void Finished() override { ++finished; }

  std::function<void(std::int32_t done)> whileRunning;
  std::int32_t cancelAt = -1;
  bool cancelWaits = false;
  struct Wait {
    qint64 bytes;
    std::chrono::milliseconds left;
  };
  std::vector<Wait> waits;
  std::vector<std::int32_t> progress;
  std::int32_t lastRequested = 0;
  int finished = 0;
};

class FormTest : public ::testing::Test {
 protected:
  FormTest() {
    environment_.programFolder = folder_.path();
    environment_.settings = settings_.get();
    environment_.library = &library_;
    environment_.messages = &messages_;
    environment_.clock = [this] { return now_; };
    environment_.listenPort = 0;
  }

  // A new window, started with the given command line over the saved settings.
  FXL_Main& Start(const QString& commandLine = {}) {
    form_ = std::make_unique<FXL_Main>(environment_);
    outcome_ = form_->Form_Load(commandLine);
    return *form_;
  }

  // The time stamp of the examples: 2015-05-05 12:55:54.
  static void StampDateAndTime(FXL_Main& form) {
    form.Text_Date.SetText(QStringLiteral("2015-05-05"));
    form.Text_Time.SetText(QStringLiteral("12:55:54"));
  }

  // Closes the window (saving its settings) and opens the settings file afresh.
  void Close() {
    form_->Form_Unload();
    form_.reset();
    settings_ = std::make_unique<SettingsStore>(SettingsFile());
    environment_.settings = settings_.get();
  }

  QString Saved(const QString& key) {
    return settings_->GetSetting(QStringLiteral("Parameters"), key, QStringLiteral("<missing>"));
  }
  void Save(const QString& key, const QString& value) {
    settings_->SaveSetting(QStringLiteral("Parameters"), key, value);
    settings_->Flush();
  }

  QString SettingsFile() const { return folder_.filePath(QStringLiteral("settings/Fauxlarm.ini")); }

  // Replaces the settings file with bytes typed by hand.
  void WriteSettingsFile(const QByteArray& bytes) {
    QDir().mkpath(folder_.filePath(QStringLiteral("settings")));
    QFile file(SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    settings_ = std::make_unique<SettingsStore>(SettingsFile());
    environment_.settings = settings_.get();
  }

  QByteArray GenericFile() const {
    QFile file(folder_.filePath(QStringLiteral("GenericFile.txt")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Runs the event loop until the condition holds or five seconds pass.
  template <typename Condition>
  static bool WaitFor(Condition condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return condition();
  }

  QTemporaryDir folder_;
  std::unique_ptr<SettingsStore> settings_ = std::make_unique<SettingsStore>(SettingsFile());
  RecordingLibrary library_;
  RecordingMessages messages_;
  QDateTime now_ = QDateTime(QDate(2015, 5, 5), QTime(12, 55, 54));
  FXL_Environment environment_;
  std::unique_ptr<FXL_Main> form_;
  FXL_Main::StartOutcome outcome_ = FXL_Main::StartOutcome::ShowWindow;
};
