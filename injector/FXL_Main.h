// The main window of Fauxlarm as a plain model: its controls, its timers and sockets,
// and the handlers that act on them. A view mirrors the controls; tests drive the model
// directly, with no display.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "injector/CommandLine.h"
#include "injector/Controls.h"
#include "injector/FXL_Procs.h"
#include "injector/SendStatus.h"
#include "injector/TcpLink.h"

class CommandQueueLibrary;
class SettingsStore;
class UserMessages;

// What the window needs from its surroundings; main() gives the real ones, tests doubles.
struct FXL_Environment {
  // Becomes the program-wide ProgramFolder at start-up.
  QString programFolder;
  SettingsStore* settings = nullptr;
  CommandQueueLibrary* library = nullptr;
  UserMessages* messages = nullptr;
  std::function<QDateTime()> clock = &QDateTime::currentDateTime;
  // The user's locale time separator, as in "12:55:54".
  QString timeSeparator = QStringLiteral(":");
  // The program always listens on 14000; tests may pick another port (0: any free one).
  quint16 listenPort = 14000;
  // How long an alarm server that takes no data is waited for: by a burst before it stops,
  // and by the closing window before it gives up what is still queued.
  std::chrono::milliseconds serverPatience{10000};
};

// Shows the user how a long burst goes and lets them stop it; the window's view gives one.
class BurstFeedback {
 public:
  virtual ~BurstFeedback() = default;
  // Asked every few events of a burst and while a slow server is waited for; false
  // cancels the burst.
  virtual bool Continue(std::int32_t done, std::int32_t requested) = 0;
  // Asked while a burst or the closing window waits for an alarm server that has taken
  // nothing for a while: the bytes it has not taken, and how much longer the wait lasts
  // at most. False ends the wait.
  virtual bool Waiting(qint64 bytes, std::chrono::milliseconds left) = 0;
  // The burst, or the wait, is over.
  virtual void Finished() = 0;
};

class FXL_Main : public QObject {
  Q_OBJECT
 public:
  static constexpr int kFieldCount = FXL_Procs::kFieldCount;
  static constexpr int kExitOk = 0;
  static constexpr int kExitDeliveryFailed = 1;

  enum class StartOutcome { ShowWindow, Ended };

  explicit FXL_Main(const FXL_Environment& environment, QObject* parent = nullptr);

  // Start-up: restores the saved settings, fills the system list, starts listening and
  // applies the command line, which may end the program (help, one-shot sending).
  StartOutcome Form_Load(const QString& argumentText);
  // Closing: saves the settings and closes the data connection; emits Unloaded.
  void Form_Unload();
  // The user closes the window. During a burst the burst is cancelled and the window
  // closes once it has stopped: false, not closed yet; so does a wait for the alarm server
  // while the window closes. Otherwise Form_Unload; true.
  bool Form_QueryUnload();
  // The program's exit status once it has ended.
  int ExitCode() const { return exitCode_; }

  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& caption);

  // Event handlers.
  void Command_Alarm_Click(std::int16_t Index);
  void Timer_Timer();
  void Timer_SetDateAndTime_Timer();
  void Winsock_Connect_ConnectionRequest(qintptr requestID);
  void Winsock_Data_DataArrival(qint64 bytesTotal);
  void Winsock_Data_Close();
  void Winsock_Data_Error(int Number, const QString& Description);

  // The events of the last burst, for callers that must report a failed delivery.
  const FXL_Procs::BurstReport& LastBurst() const { return lastBurst_; }
  bool BurstRunning() const { return burstRunning_; }
  // Where long bursts show their progress; none by default.
  void SetBurstFeedback(BurstFeedback* feedback) { feedback_ = feedback; }

  // What a burst of events reads from this window and delivers through.
  FXL_Procs::EventForm EventSources();
  std::uint16_t ListeningPort() const { return Winsock_Connect.serverPort(); }

  std::array<TextControl, kFieldCount> Text_Field;
  TextControl Text_Date;
  TextControl Text_Time;
  TextControl Text_NumberOfEvents{QStringLiteral("1")};
  TextControl Text_SendInterval{QStringLiteral("60")};
  TextControl Text_Connect{QStringLiteral("Not Connected")};
  CheckControl Check_SetDateAndTime;
  CheckControl Check_Stream;
  CheckControl Check_SendPeriodicAlarms;
  CheckControl Check_AppendRandomNumbersToTag;
  OptionControlArray Option_ConnectionType{{QStringLiteral("Generic TCP (port 14000)"),
                                            QStringLiteral("DLL calls to Halvane3.DLL"),
                                            QStringLiteral("Create Generic File: ")}};
  ComboControl Combo_Systems;
  VisibilityControl Label_System;
  // The status line: what the last burst did, and the totals of automatic sending.
  SendStatus Label_SendStatus;

  QTimer Timer;
  QTimer Timer_SetDateAndTime;
  ListeningSocket Winsock_Connect;
  DataSocket Winsock_Data;

  // Counted by the date-and-time timer, not read from the clock.
  std::int32_t ElapsedMilliseconds = 0;
  std::int32_t ElapsedSeconds = 0;

 signals:
  void CaptionChanged();
  // The window has closed; the program ends.
  void Unloaded();

 private:
  // Runs one burst; nothing else of the window runs inside it. Afterwards the status line
  // shows its result, and a burst that stopped for a fault stops automatic sending before
  // the user is told, so that no further tick repeats the message.
  void RunBurst(BurstOrigin origin, std::int16_t eventType, bool appendRandomNumbers);
  bool ContinueBurst(std::int32_t done, std::int32_t requested);
  void FinishBurst(BurstOrigin origin, EventRange queued);
  // Socket events that arrive during a burst are handled after it.
  void AfterBurst(std::function<void()> handler);
  void Option_ConnectionType_Click(int index);
  void Combo_Systems_Click();
  void RestoreSettings();
  void FillSystemList();
  void StartListening();
  void SaveSettings();
  // Sends one batch without a window; every event must be delivered for status 0.
  void RunOneShot(std::int16_t eventType);
  // Tells a one-shot run's caller on standard error what the burst did not deliver.
  void ReportOneShot();
  bool WaitForServer(qint64 bytes, std::chrono::milliseconds left);
  void FlushConnection();
  // The connection dropped these events; the user is told once.
  void ReportDropped(EventRange dropped, FXL_Procs::Undelivered reason);
  void SetDateAndTimeFromClock();
  void CountSecond();
  void End(int exitCode);
  CommandLine::OptionTargets OptionTargets();

  FXL_Environment environment_;
  QString caption_;
  FXL_Procs::BurstReport lastBurst_;
  BurstFeedback* feedback_ = nullptr;
  FXL_Procs::BurstContinue continueBurst_;
  ServerWait waitingForServer_;
  bool burstRunning_ = false;
  bool cancelRequested_ = false;
  bool unloadRequested_ = false;
  bool unloading_ = false;
  // Events the alarm server had not acknowledged when the window closed.
  qint64 notDeliveredAtClose_ = 0;
  std::vector<std::function<void()>> afterBurst_;
  int exitCode_ = kExitOk;
};
