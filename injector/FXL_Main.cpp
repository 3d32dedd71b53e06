#include "injector/FXL_Main.h"

#include <limits>
#include <utility>

#include "common/Halvane_Common_Procedures.h"
#include "injector/SettingsStore.h"
#include "injector/UserMessages.h"
#include "injector/Utf16View.h"

namespace hcp = Halvane_Common_Procedures;

namespace {

const QString kSection = QStringLiteral("Parameters");
const QString kTitle = QStringLiteral("Fauxlarm version 3.00.00");
constexpr int kDateAndTimeInterval = 500;
constexpr int kStreamInterval = 100;

double NumberIn(const QString& text) {
  return hcp::LeadingNumber(Utf16View(text));
}

// Saved values the program never writes itself (hand-edited files) fall back to the
// default rather than stopping the program: a connection type outside 0..2 selects
// generic TCP, a check state other than 0, 1 or 2 leaves the box unticked.
int SavedConnectionType(const QString& text) {
  const double n = hcp::RoundHalfEven(NumberIn(text));
  return n >= 0 && n < OptionControlArray::kCount ? static_cast<int>(n) : 0;
}

int SavedCheckState(const QString& text) {
  const double n = hcp::RoundHalfEven(NumberIn(text));
  return n == 1 || n == 2 ? static_cast<int>(n) : 0;
}

std::int32_t SaturatingAdd(std::int32_t value, std::int32_t increment) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  return value > kMax - increment ? kMax : value + increment;
}

std::int32_t ClampToInt32(double value) {
  const double rounded = hcp::RoundHalfEven(value);
  if (rounded >= std::numeric_limits<std::int32_t>::max()) {
    return std::numeric_limits<std::int32_t>::max();
  }
  if (rounded <= std::numeric_limits<std::int32_t>::min()) {
    return std::numeric_limits<std::int32_t>::min();
  }
  return static_cast<std::int32_t>(rounded);
}

// "3 events queued for the alarm server were not delivered"
QString QueuedEventsNotDelivered(qint64 count) {
  return QStringLiteral("%1 queued for the alarm server %2 not delivered")
      .arg(EventCount(count), count == 1 ? QStringLiteral("was") : QStringLiteral("were"));
}

QString GenericFilePath() {
  return QString::fromStdU16String(hcp::ProgramFolder()) +
         QLatin1String(FauxlarmEvents::kGenericFileName);
}

}  // namespace

FXL_Main::FXL_Main(const FXL_Environment& environment, QObject* parent)
    : QObject(parent), environment_(environment) {
  for (int i = 0; i < kFieldCount; ++i) {
    Text_Field[i].SetText(QString::fromLatin1(FauxlarmEvents::kDesignFields[i]));
    Text_Field[i].setObjectName(QStringLiteral("Text_Field(%1)").arg(i));
  }
  // Named after their controls, so views, tests and debuggers can find them.
  for (auto [control, name] : {std::pair<QObject*, const char*>{&Text_Date, "Text_Date"},
                               {&Text_Time, "Text_Time"},
                               {&Text_NumberOfEvents, "Text_NumberOfEvents"},
                               {&Text_SendInterval, "Text_SendInterval"},
                               {&Text_Connect, "Text_Connect"},
                               {&Check_SetDateAndTime, "Check_SetDateAndTime"},
                               {&Check_Stream, "Check_Stream"},
                               {&Check_SendPeriodicAlarms, "Check_SendPeriodicAlarms"},
                               {&Check_AppendRandomNumbersToTag, "Check_AppendRandomNumbersToTag"},
                               {&Combo_Systems, "Combo_Systems"}}) {
    control->setObjectName(QLatin1String(name));
  }

  connect(&Option_ConnectionType, &OptionControlArray::Clicked, this,
          &FXL_Main::Option_ConnectionType_Click);
  connect(&Combo_Systems, &ComboControl::Clicked, this, &FXL_Main::Combo_Systems_Click);

  Timer.setInterval(kStreamInterval);
  connect(&Timer, &QTimer::timeout, this, &FXL_Main::Timer_Timer);
  Timer.start();
  Timer_SetDateAndTime.setInterval(kDateAndTimeInterval);
  connect(&Timer_SetDateAndTime, &QTimer::timeout, this, &FXL_Main::Timer_SetDateAndTime_Timer);

  connect(&Winsock_Connect, &ListeningSocket::ConnectionRequest, this, [this](qintptr id) {
    AfterBurst([this, id] { Winsock_Connect_ConnectionRequest(id); });
  });
  connect(&Winsock_Data, &DataSocket::DataArrival, this,
          [this](qint64 bytes) { AfterBurst([this, bytes] { Winsock_Data_DataArrival(bytes); }); });
  connect(&Winsock_Data, &DataSocket::PeerClosed, this,
          [this] { AfterBurst([this] { Winsock_Data_Close(); }); });
  connect(&Winsock_Data, &DataSocket::Error, this, [this](int number, const QString& description) {
    AfterBurst([this, number, description] { Winsock_Data_Error(number, description); });
  });

  Label_SendStatus.setObjectName(QStringLiteral("Label_SendStatus"));
  connect(&Check_Stream, &CheckControl::Changed, this, [this] {
    Label_SendStatus.SetAutomatic(BurstOrigin::kStream, Check_Stream.Ticked(),
                                  environment_.clock());
  });
  connect(&Check_SendPeriodicAlarms, &CheckControl::Changed, this, [this] {
    Label_SendStatus.SetAutomatic(BurstOrigin::kPeriodic, Check_SendPeriodicAlarms.Ticked(),
                                  environment_.clock());
  });
  connect(&Winsock_Data, &DataSocket::Acknowledged, &Label_SendStatus, &SendStatus::Acknowledged);
  continueBurst_ = [this](std::int32_t done, std::int32_t requested) {
    return ContinueBurst(done, requested);
  };
  waitingForServer_ = [this](qint64 bytes, std::chrono::milliseconds left) {
    return WaitForServer(bytes, left);
  };
}

void FXL_Main::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  emit CaptionChanged();
}

FXL_Main::StartOutcome FXL_Main::Form_Load(const QString& argumentText) {
  hcp::SetProgramFolder(Utf16View(environment_.programFolder));
  RestoreSettings();
  FillSystemList();
  Combo_Systems.SetText(environment_.settings->GetSetting(
      kSection, QStringLiteral("SCADA System"),
      QString::fromStdU16String(
          hcp::ScadaSystemNames[Halvane_Common_Constants::kGenericTcpClientSystem])));
  StartListening();

  const CommandLine::Outcome commandLine = CommandLine::Apply(OptionTargets(), argumentText);
  switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
      environment_.messages->ShowInformation(CommandLine::HelpTitle(), CommandLine::HelpText());
      End(kExitOk);
      return StartOutcome::Ended;
    case CommandLine::Action::SendOnce:
      SetCaption(kTitle);
      RunOneShot(commandLine.eventType);
      return StartOutcome::Ended;
    case CommandLine::Action::OpenWindow:
      break;
  }
  SetCaption(kTitle);
  Timer_SetDateAndTime.start();
  return StartOutcome::ShowWindow;
}

void FXL_Main::RunOneShot(std::int16_t eventType) {
  Timer_SetDateAndTime_Timer();
  // No option sets the count: a script that meant one event learns why it sends more.
  const double count = hcp::RoundHalfEven(NumberIn(Text_NumberOfEvents.Text()));
  if (count > 1 && count <= std::numeric_limits<std::int32_t>::max()) {
    environment_.messages->ShowError(
        ProgramName(), QStringLiteral("sending %1 events: the saved Number of events to send")
                           .arg(static_cast<qint64>(count)));
  }
  RunBurst(BurstOrigin::kCommandLine, eventType, false);
  ReportOneShot();
  End(lastBurst_.Stopped() || lastBurst_.NotDelivered() > 0 ? kExitDeliveryFailed : kExitOk);
  if (notDeliveredAtClose_ > 0) exitCode_ = kExitDeliveryFailed;
}

// The window shows such events in its status line; a one-shot run says so and ends with
// an error status, because nobody watches a window to notice.
void FXL_Main::ReportOneShot() {
  switch (lastBurst_.reason) {
    case FXL_Procs::Undelivered::kFileError:
      environment_.messages->ShowError(
          ProgramName(), QStringLiteral("%1 of %2 events could not be appended to %3: %4.")
                             .arg(lastBurst_.NotDelivered())
                             .arg(lastBurst_.requested)
                             .arg(GenericFilePath(), lastBurst_.detail));
      break;
    case FXL_Procs::Undelivered::kNoServer:
      // The run ends before any alarm server can have connected to the listener.
      environment_.messages->ShowError(
          ProgramName(),
          QStringLiteral("no alarm server was connected to port %1: %2 of %3 events delivered; "
                         "fauxlarm-play --tcp --wait waits for one")
              .arg(Winsock_Connect.isListening() ? Winsock_Connect.serverPort()
                                                 : environment_.listenPort)
              .arg(lastBurst_.sent)
              .arg(lastBurst_.requested));
      break;
    default:
      break;
  }
}

FXL_Procs::EventForm FXL_Main::EventSources() {
  return {Text_Field,
          Text_Date,
          Text_Time,
          Text_NumberOfEvents,
          Option_ConnectionType,
          Combo_Systems,
          Winsock_Data,
          *environment_.library,
          continueBurst_,
          waitingForServer_,
          environment_.serverPatience};
}

CommandLine::OptionTargets FXL_Main::OptionTargets() {
  return {Text_Field, Option_ConnectionType, Combo_Systems, Check_SetDateAndTime,
          *environment_.messages};
}

void FXL_Main::RestoreSettings() {
  SettingsStore& settings = *environment_.settings;
  for (int i = 0; i < kFieldCount; ++i) {
    Text_Field[i].SetText(
        settings.GetSetting(kSection, QStringLiteral("Field_%1").arg(i), Text_Field[i].Text()));
  }
  Text_Date.SetText(settings.GetSetting(kSection, QStringLiteral("Date"), {}));
  Text_Time.SetText(settings.GetSetting(kSection, QStringLiteral("Time"), {}));
  Text_NumberOfEvents.SetText(
      settings.GetSetting(kSection, QStringLiteral("NumberOfEvents"), QStringLiteral("1")));
  Text_SendInterval.SetText(
      settings.GetSetting(kSection, QStringLiteral("SendInterval"), QStringLiteral("60")));
  Option_ConnectionType.Select(SavedConnectionType(
      settings.GetSetting(kSection, QStringLiteral("ConnectionType"), QStringLiteral("0"))));
  Option_ConnectionType.SetCaption(2, Option_ConnectionType.Caption(2) + GenericFilePath());
  Check_SetDateAndTime.SetValue(SavedCheckState(
      settings.GetSetting(kSection, QStringLiteral("AutoDateAndTime"), QStringLiteral("0"))));
  Check_AppendRandomNumbersToTag.SetValue(SavedCheckState(settings.GetSetting(
      kSection, QStringLiteral("AppendRandomNumbersToTag"), QStringLiteral("0"))));
}

void FXL_Main::FillSystemList() {
  hcp::InitScadaSystems();
  for (int j = 0; j < Halvane_Common_Constants::kScadaSystemSlots; ++j) {
    if (!hcp::ScadaSystemCodes[j].empty()) {
      Combo_Systems.AddItem(QString::fromStdU16String(hcp::ScadaSystemNames[j]), j);
    }
  }
}

void FXL_Main::StartListening() {
  if (Winsock_Connect.listen(QHostAddress::Any, environment_.listenPort)) return;
  Option_ConnectionType.SetEnabled(0, false);
  if (Option_ConnectionType.Value(0)) Option_ConnectionType.Select(1);
}

void FXL_Main::Form_Unload() {
  unloading_ = true;
  cancelRequested_ = false;
  Timer.stop();
  Timer_SetDateAndTime.stop();
  SaveSettings();
  FlushConnection();
  unloading_ = false;
  emit Unloaded();
}

bool FXL_Main::Form_QueryUnload() {
  if (!burstRunning_ && !unloading_) {
    Form_Unload();
    return true;
  }
  cancelRequested_ = true;
  unloadRequested_ = burstRunning_;
  return false;
}

bool FXL_Main::WaitForServer(qint64 bytes, std::chrono::milliseconds left) {
  // The feedback lets the window's events in, which may ask to close it.
  if (feedback_ != nullptr && !feedback_->Waiting(bytes, left)) cancelRequested_ = true;
  return !cancelRequested_;
}

// Nothing that the connection has accepted is dropped unnoticed: the server gets its
// patience to take it, and the user hears of what it did not take.
void FXL_Main::FlushConnection() {
  notDeliveredAtClose_ =
      Winsock_Data.CloseAndFlush(environment_.serverPatience, waitingForServer_).Size();
  if (feedback_ != nullptr) feedback_->Finished();
  if (notDeliveredAtClose_ == 0) return;
  environment_.messages->ShowError(ProgramName(), QueuedEventsNotDelivered(notDeliveredAtClose_) +
                                                      QStringLiteral(" before the window closed."));
}

void FXL_Main::ReportDropped(EventRange dropped, FXL_Procs::Undelivered reason) {
  if (dropped.Size() == 0) return;
  Label_SendStatus.Dropped(dropped, reason);
  environment_.messages->ShowError(ProgramName(), QueuedEventsNotDelivered(dropped.Size()) +
                                                      QStringLiteral(": ") +
                                                      NotDeliveredReason(reason) + u'.');
}

void FXL_Main::End(int exitCode) {
  exitCode_ = exitCode;
  Form_Unload();
}

void FXL_Main::SaveSettings() {
  SettingsStore& settings = *environment_.settings;
  for (int i = 0; i < kFieldCount; ++i) {
    settings.SaveSetting(kSection, QStringLiteral("Field_%1").arg(i), Text_Field[i].Text());
  }
  settings.SaveSetting(kSection, QStringLiteral("Date"), Text_Date.Text());
  settings.SaveSetting(kSection, QStringLiteral("Time"), Text_Time.Text());
  settings.SaveSetting(kSection, QStringLiteral("NumberOfEvents"), Text_NumberOfEvents.Text());
  settings.SaveSetting(kSection, QStringLiteral("SendInterval"), Text_SendInterval.Text());
  settings.SaveSetting(kSection, QStringLiteral("AutoDateAndTime"),
                       QString::number(Check_SetDateAndTime.Value()));
  settings.SaveSetting(kSection, QStringLiteral("AppendRandomNumbersToTag"),
                       QString::number(Check_AppendRandomNumbersToTag.Value()));
  settings.SaveSetting(kSection, QStringLiteral("SCADA System"), Combo_Systems.Text());
  if (Option_ConnectionType.Selected() >= 0) {
    settings.SaveSetting(kSection, QStringLiteral("ConnectionType"),
                         QString::number(Option_ConnectionType.Selected()));
  }
  if (!settings.Flush()) {
    environment_.messages->ShowError(
        ProgramName(),
        QStringLiteral("The settings could not be saved to %1.").arg(settings.FileName()));
  }
}

void FXL_Main::Option_ConnectionType_Click(int index) {
  const bool dllMethod = index == 1;
  Combo_Systems.SetVisible(dllMethod);
  Label_System.SetVisible(dllMethod);
}

void FXL_Main::Combo_Systems_Click() {
  const int selected = Combo_Systems.ListIndex();
  if (selected < 0) return;
  Combo_Systems.SetToolTip(
      QStringLiteral("System number: %1").arg(Combo_Systems.At(selected).itemData));
}

void FXL_Main::Command_Alarm_Click(std::int16_t Index) {
  RunBurst(BurstOrigin::kButton, Index, false);
}

void FXL_Main::RunBurst(BurstOrigin origin, std::int16_t eventType, bool appendRandomNumbers) {
  if (burstRunning_) return;
  burstRunning_ = true;
  cancelRequested_ = false;
  const qint64 firstOnConnection = Winsock_Data.EventsQueuedInAll();
  lastBurst_ = FXL_Procs::SendEvents(EventSources(), eventType, appendRandomNumbers);
  burstRunning_ = false;
  if (feedback_ != nullptr) feedback_->Finished();
  FinishBurst(origin, {firstOnConnection, Winsock_Data.EventsQueuedInAll()});
}

bool FXL_Main::ContinueBurst(std::int32_t done, std::int32_t requested) {
  // The feedback lets the window's events in, which may ask to close it.
  if (feedback_ != nullptr && !feedback_->Continue(done, requested)) cancelRequested_ = true;
  return !cancelRequested_;
}

void FXL_Main::FinishBurst(BurstOrigin origin, EventRange queued) {
  // A copy: the handlers below may run further bursts.
  const FXL_Procs::BurstReport report = lastBurst_;
  Label_SendStatus.Record(origin, Option_ConnectionType.Selected(), report, queued);
  Winsock_Data.Update();
  if (report.Stopped()) {
    // The next tick would meet the same fault, so automatic sending waits for the user.
    Check_Stream.SetValue(0);
    Check_SendPeriodicAlarms.SetValue(0);
  } else if (report.reason == FXL_Procs::Undelivered::kCancelled) {
    if (origin == BurstOrigin::kStream) Check_Stream.SetValue(0);
    if (origin == BurstOrigin::kPeriodic) Check_SendPeriodicAlarms.SetValue(0);
  }
  for (const std::function<void()>& handler : std::exchange(afterBurst_, {}))
    handler();
  if (report.Stopped()) environment_.messages->ShowError(ProgramName(), report.stopMessage);
  if (std::exchange(unloadRequested_, false)) Form_Unload();
}

void FXL_Main::AfterBurst(std::function<void()> handler) {
  if (burstRunning_) {
    afterBurst_.push_back(std::move(handler));
  } else {
    handler();
  }
}

// A tick that comes while a burst runs (when the window lets events in to show its
// progress) is dropped, as the platform drops ticks that it cannot deliver.
void FXL_Main::Timer_Timer() {
  if (burstRunning_ || !Check_Stream.Ticked()) return;
  // As Command_Alarm_Click does, counted as streaming.
  RunBurst(BurstOrigin::kStream, FauxlarmEvents::StreamEventType(hcp::Rnd()), false);
}

void FXL_Main::Timer_SetDateAndTime_Timer() {
  if (burstRunning_) return;
  if (Check_SetDateAndTime.Ticked()) SetDateAndTimeFromClock();
  // Saturating, so that a run left alone for weeks keeps counting seconds.
  ElapsedMilliseconds = SaturatingAdd(ElapsedMilliseconds, kDateAndTimeInterval);
  if (ElapsedMilliseconds >= 1000) CountSecond();
}

void FXL_Main::SetDateAndTimeFromClock() {
  Text_Date.SetText(environment_.clock().toString(QStringLiteral("yyyy-MM-dd")));
  const QString& sep = environment_.timeSeparator;
  Text_Time.SetText(environment_.clock().toString(QStringLiteral("HH'%1'mm'%1'ss").arg(sep)));
}

void FXL_Main::CountSecond() {
  ElapsedSeconds = SaturatingAdd(ElapsedSeconds, 1);
  const double interval = NumberIn(Text_SendInterval.Text());
  if (!Check_SendPeriodicAlarms.Ticked()) {
    // An interval beyond the 32-bit range counts as the largest one.
    ElapsedSeconds = ClampToInt32(interval);
    return;
  }
  if (!(interval > ElapsedSeconds)) {
    std::int16_t type = 3;
    while (type > 2)
      type = static_cast<std::int16_t>(hcp::RoundHalfEven(hcp::Rnd() * 3));
    RunBurst(BurstOrigin::kPeriodic, type, Check_AppendRandomNumbersToTag.Ticked());
    ElapsedSeconds = 0;
  }
  ElapsedMilliseconds = 0;
}

void FXL_Main::Winsock_Connect_ConnectionRequest(qintptr requestID) {
  EventRange dropped;
  if (Winsock_Data.State() != DataSocket::kClosed) dropped = Winsock_Data.Close();
  if (Winsock_Data.Accept(requestID)) Text_Connect.SetText(QStringLiteral("Connected"));
  // Told once the new server is connected, so that nothing waits on the box.
  ReportDropped(dropped, FXL_Procs::Undelivered::kTakenOver);
}

void FXL_Main::Winsock_Data_DataArrival(qint64) {
  // The link carries events one way; what the peer says is dropped.
  Winsock_Data.GetData();
}

void FXL_Main::Winsock_Data_Close() {
  const EventRange dropped = Winsock_Data.Close();
  Text_Connect.SetText(QStringLiteral("Not Connected"));
  ReportDropped(dropped, FXL_Procs::Undelivered::kDisconnected);
}

// The error's own box is the one box; the events it dropped show in the status line.
void FXL_Main::Winsock_Data_Error(int, const QString& Description) {
  environment_.messages->ShowError(ProgramName(), QStringLiteral("Error occured: ") + Description);
  Label_SendStatus.Dropped(Winsock_Data.Close(), FXL_Procs::Undelivered::kConnectionError);
  Text_Connect.SetText(QStringLiteral("Not Connected"));
}
