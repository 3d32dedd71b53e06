// fauxlarm-play: replays a scenario of fake alarms and messages to a Halvane alarm server,
// or holds a steady load, and tells what got through. See kUsage.
#include <cstdio>
#include <memory>
#include <string>

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

int UsageError(const std::string& error) {
  std::fprintf(stderr, "fauxlarm-play: %s\nTry 'fauxlarm-play --help'.\n", error.c_str());
  return kExitUsage;
}

void Tell(const std::string& name, const Problem& problem) {
  std::fprintf(stderr, "%s:%lld:%lld: %s\n", name.c_str(), static_cast<long long>(problem.at.line),
               static_cast<long long>(problem.at.column), problem.message.c_str());
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
      Tell(name, problem);
      return nullptr;
    case EventReader::Status::kError:
      std::fprintf(stderr, "fauxlarm-play: cannot read %s: %s\n", name.c_str(),
                   reader->Error().c_str());
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
    std::fprintf(stderr, "fauxlarm-play: cannot open %s: %s\n", path.c_str(), error.c_str());
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
      if (++problems <= kProblemsShown) Tell(path, problem);
    } else if (status == EventReader::Status::kError) {
      std::fprintf(stderr, "fauxlarm-play: cannot read %s: %s\n", path.c_str(),
                   reader->Error().c_str());
      return Checked::kBad;
    }
    if (platform::StopSignals() > 0) return Checked::kStopped;
  }
  if (problems > kProblemsShown) {
    std::fprintf(stderr, "%s: %lld more problems\n", path.c_str(),
                 static_cast<long long>(problems - kProblemsShown));
  }
  if (problems > 0) {
    std::fprintf(stderr, "fauxlarm-play: nothing was sent, since %s has problems\n", path.c_str());
  }
  return problems == 0 ? Checked::kGood : Checked::kBad;
}

void Print(const Options& options, const Summary& summary) {
  const std::string text = options.json ? SummaryJson(summary) : SummaryText(summary);
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const std::optional<Options> parsed = ParseOptions(argc, argv, error);
  if (!parsed) return UsageError(error);
  const Options& options = *parsed;
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::fputs(kVersionText, stdout);
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
        std::fprintf(stderr, "fauxlarm-play: stopped before anything was sent\n");
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
    std::fprintf(stderr, "fauxlarm-play: %s\n", method->Fault().c_str());
    Summary summary;
    summary.input = options.random ? "the random stream" : options.input;
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
    std::fprintf(stderr, "fauxlarm-play: the log %s is not complete: %s\n", options.logPath.c_str(),
                 error.c_str());
    summary.exitCode = kExitUndelivered;
  }
  if (summary.stopKey == "fault") {
    std::fprintf(stderr, "fauxlarm-play: %s\n", summary.stopText.c_str());
  }
  Print(options, summary);
  return summary.exitCode;
}
