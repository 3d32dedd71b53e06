// fauxlarm-play: replays a scenario of fake alarms and messages to a Halvane alarm server,
// or holds a steady load, and tells what got through. See kUsage.
#include <memory>
#include <string>
#include <vector>

#include "play/EventReader.h"
#include "play/Methods.h"
#include "play/Options.h"
#include "play/Platform.h"
#include "play/Player.h"
#include "play/Report.h"
#include "play/TrafficLog.h"

namespace {

using namespace Play;

constexpr int kExitUndelivered = 1;
constexpr int kExitUsage = 2;
// Problems told before the rest are only counted.
constexpr int kProblemsShown = 20;

void Tell(const std::string& text) {
  platform::Write(platform::Stream::kError, text);
}

void Notice(const std::string& message) {
  Tell("fauxlarm-play: " + message + "\n");
}

int UsageError(const std::string& error) {
  Notice(error + "\nTry 'fauxlarm-play --help'.");
  return kExitUsage;
}

// Opens the input and reads its header. Null, having told why, when it cannot be used.
std::unique_ptr<EventReader> OpenReader(const std::string& name, platform::Input& input) {
  auto reader = std::make_unique<EventReader>(input);
  Problem problem;
  EventReader::Status status;
  while ((status = reader->Open(100, &problem)) == EventReader::Status::kTimedOut) {
  }
  switch (status) {
    case EventReader::Status::kBad:
      Tell(problem.Told(name));
      return nullptr;
    case EventReader::Status::kError:
      Notice("cannot read " + name + ": " + reader->Error());
      return nullptr;
    case EventReader::Status::kStopped:
      return nullptr;
    default:
      return reader;
  }
}

enum class Checked { kGood, kBad, kStopped };

// Reads the whole file before anything is sent; kBad, having told every problem, when any
// row or line is bad.
Checked CheckFile(const std::string& path) {
  std::string error;
  const std::unique_ptr<platform::Input> input = platform::Input::OpenFile(path, &error);
  if (input == nullptr) {
    Notice("cannot open " + path + ": " + error);
    return Checked::kBad;
  }
  const std::unique_ptr<EventReader> reader = OpenReader(path, *input);
  if (reader == nullptr) return Checked::kBad;
  Event event;
  Problem problem;
  std::int64_t problems = 0;
  for (;;) {
    const EventReader::Status status = reader->Next(event, &problem, -1);
    if (status == EventReader::Status::kEnd) break;
    if (status == EventReader::Status::kBad) {
      if (++problems <= kProblemsShown) Tell(problem.Told(path));
    } else if (status == EventReader::Status::kError) {
      Notice("cannot read " + path + ": " + reader->Error());
      return Checked::kBad;
    }
    if (platform::StopSignals() > 0) return Checked::kStopped;
  }
  if (problems > kProblemsShown) {
    Tell(path + ": " + std::to_string(problems - kProblemsShown) + " more problems\n");
  }
  if (problems > 0) Notice("nothing was sent, since " + path + " has problems");
  return problems == 0 ? Checked::kGood : Checked::kBad;
}

void Print(const Options& options, const Summary& summary) {
  platform::Write(platform::Stream::kOutput,
                  options.json ? SummaryJson(summary) : SummaryText(summary));
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments = platform::Arguments(argc, argv);
  std::vector<char*> argumentPointers;
  for (std::string& argument : arguments)
    argumentPointers.push_back(argument.data());
  argumentPointers.push_back(nullptr);
  std::string error;
  const std::optional<Options> parsed =
      ParseOptions(static_cast<int>(arguments.size()), argumentPointers.data(), error);
  if (!parsed) return UsageError(error);
  const Options& options = *parsed;
  if (options.help) {
    platform::Write(platform::Stream::kOutput, kUsage);
    return 0;
  }
  if (options.version) {
    platform::Write(platform::Stream::kOutput, kVersionText);
    return 0;
  }
  platform::CatchStopSignals();
  const bool notices = !options.quiet;

  std::unique_ptr<platform::Input> input;
  std::unique_ptr<EventReader> reader;
  if (options.input == "-") {
    input = platform::Input::StandardInput();
    reader = OpenReader("<stdin>", *input);
    if (reader == nullptr) return kExitUsage;
  } else if (!options.random) {
    switch (CheckFile(options.input)) {
      case Checked::kGood:
        break;
      case Checked::kBad:
        return kExitUsage;
      case Checked::kStopped:
        Notice("stopped before anything was sent");
        return kExitUndelivered;
    }
    input = platform::Input::OpenFile(options.input, &error);
    if (input != nullptr) reader = OpenReader(options.input, *input);
    if (reader == nullptr) return kExitUsage;
  }
  if (options.speedGiven && (reader == nullptr || !reader->Timed() || options.input == "-")) {
    return UsageError("--speed plays the times of a scenario file, and " + options.input +
                      " is none (standard input, or no \"at\" column)");
  }

  TrafficLog log;
  if (!options.logPath.empty() && !log.Open(options.logPath, &error)) {
    return UsageError("cannot write the log " + options.logPath + ": " + error);
  }
  const std::unique_ptr<Method> method = MakeMethod(options, notices);
  if (!method->Start()) {
    Notice(method->Fault());
    Summary summary;
    summary.input = InputName(options);
    summary.method = method->Description();
    summary.stopKey = "fault";
    summary.stopText = method->Fault();
    summary.exitCode = kExitUndelivered;
    Print(options, summary);
    return kExitUndelivered;
  }

  Player player(options, *method, std::move(input), std::move(reader), log,
                notices && platform::StandardErrorIsTerminal());
  Summary summary = player.Run();
  if (!log.Close(&error)) {
    Notice("the log " + options.logPath + " is not complete: " + error);
    summary.exitCode = kExitUndelivered;
  }
  if (summary.stopKey == "fault") {
    Notice(summary.stopText);
  }
  Print(options, summary);
  return summary.exitCode;
}
