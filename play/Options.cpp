#include "play/Options.h"

#include <getopt.h>

#include <charconv>
#include <cmath>

#include "HalvaneVersion.h"
#include "play/EventReader.h"

namespace Play {

const std::string kVersionText =
    std::string("fauxlarm-play (Halvane commissioning tools) ") + kHalvaneVersion + "\n";

const char* const kUsage =
    "Usage: fauxlarm-play METHOD [OPTION]... SCENARIO|GENERICFILE|-\n"
    "  or:  fauxlarm-play METHOD --random --rate=N [OPTION]...\n"
    "Replays a scenario of fake alarms and messages to a Halvane alarm server, or holds a\n"
    "steady load, and tells what got through: events read, sent and not delivered (and\n"
    "why), the rate achieved and how late events went out.\n"
    "\n"
    "Methods (exactly one):\n"
    "  -t, --tcp[=PORT]      listen on PORT (14000) and wait for the alarm server to\n"
    "                        connect; each event goes out as its line and LF\n"
    "  -w, --wait=SECONDS    with --tcp: give up when no server connected in time\n"
    "  -q, --queue           put each event into command queue 0 of the exchange library\n"
    "                        (TA:line|system, FT:name<FE>message)\n"
    "  -s, --system=N        with --queue: the system number or code of alarms whose row\n"
    "                        names none (default 18, GENERICTCP)\n"
    "  -f, --file=PATH       append each event line and CR LF to the generic file PATH\n"
    "\n"
    "Input (exactly one):\n"
    "  SCENARIO              a CSV file whose header names its columns (see below)\n"
    "  GENERICFILE           a generic file as Fauxlarm writes it, sent line by line\n"
    "  -                     CSV rows (after a header) or generic-file lines from standard\n"
    "                        input, each sent as it arrives; bad ones are told and skipped\n"
    "  -r, --random          Fauxlarm's random stream: random type, tag with a random\n"
    "                        suffix; needs --rate\n"
    "\n"
    "Timing:\n"
    "  -x, --speed=X         play a scenario's own timing X times as fast (default 1)\n"
    "  -R, --rate=N          send N events a second whatever the input's timing; 0: as\n"
    "                        fast as the method takes them\n"
    "  -l, --loop=N          play the input N times (default 1); 0: until stopped\n"
    "  -d, --duration=S      stop after S seconds\n"
    "  -n, --count=N         stop after N events\n"
    "Without --rate a scenario keeps its own timing, and a generic file or a scenario\n"
    "without times goes as fast as the method takes it. Times are kept on a monotonic\n"
    "clock with absolute deadlines; an event that is late goes out at once and is counted.\n"
    "\n"
    "Reporting:\n"
    "  -j, --json            print the summary as one JSON object\n"
    "  -L, --log=FILE        write one line per event to FILE: the local time it was\n"
    "                        handed over, the method, \"sent\" or why not, and the exact\n"
    "                        line or command text (Windows-1252)\n"
    "      --quiet           no status line and no notices on standard error\n"
    "  -h, --help            show this text and exit\n"
    "  -V, --version         show the version and exit\n"
    "On a terminal a status line on standard error shows, once a second, the events sent,\n"
    "the rate in the last second, how late events are now and how many were not\n"
    "delivered. The summary goes to standard output at the end, also after Ctrl+C.\n"
    "\n"
    "Scenario:\n"
    "  A CSV file (RFC 4180) in UTF-8. Its header names the columns, in any order:\n"
    "  at (seconds from the start, 12.5, or hh:mm:ss.mmm), type (inactive, active, acked,\n"
    "  message, or 0 to 3), tag, area, category, name, description, status, and\n"
    "  optionally date, time (empty: the local time when sent) and system. A missing\n"
    "  text column sends Fauxlarm's default text. The whole file is checked before\n"
    "  anything is sent; every problem is told as FILE:LINE:COLUMN.\n"
    "\n"
    "Exit status:\n"
    "  0  every event read was delivered\n"
    "  1  some were not, the alarm server never connected, or lines of standard input\n"
    "     were bad\n"
    "  2  bad usage or bad input\n"
    "\n"
    "Examples:\n"
    "  fauxlarm-play --tcp --speed=10 startup.csv\n"
    "  fauxlarm-play --queue --random --rate=500 --duration=600\n"
    "  fauxlarm-play --file=GenericFile.txt --rate=0 --json recorded.txt\n";

namespace {

std::optional<double> Number(const char* text) {
  double value = 0;
  const char* end = text + std::char_traits<char>::length(text);
  const auto [last, error] = std::from_chars(text, end, value);
  if (error != std::errc() || last != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<std::int64_t> WholeNumber(const char* text) {
  std::int64_t value = 0;
  const char* end = text + std::char_traits<char>::length(text);
  const auto [last, error] = std::from_chars(text, end, value);
  if (error != std::errc() || last != end || value < 0) return std::nullopt;
  return value;
}

// The option getopt found at fault, as the user wrote it. A short option is named alone:
// it may stand inside a group ("-qZ"), whose element getopt has not yet moved past.
std::string OptionName(char** argv) {
  const std::string element = argv[optind - 1];
  if (element.starts_with("--") || optopt <= 0 || optopt > 127) return element;
  return {'-', static_cast<char>(optopt)};
}

bool SetMethod(Options& options, MethodKind method, std::string& error) {
  if (options.method != MethodKind::kNone) {
    error = "choose one method: --tcp, --queue or --file";
    return false;
  }
  options.method = method;
  return true;
}

// What only makes sense with other choices.
bool CheckCombinations(const Options& options, std::string& error) {
  if (options.method == MethodKind::kNone) {
    error = "choose a method: --tcp, --queue or --file";
  } else if (options.random == !options.input.empty()) {
    error = "choose one input: a file, - for standard input, or --random";
  } else if (options.random && !options.rateGiven) {
    error = "--random needs --rate";
  } else if (options.speedGiven && options.rateGiven) {
    error = "--speed plays a scenario's own timing, which --rate replaces; choose one";
  } else if (options.waitSeconds >= 0 && options.method != MethodKind::kTcp) {
    error = "--wait is for --tcp";
  } else if (options.systemGiven && options.method != MethodKind::kQueue) {
    error = "--system is for --queue";
  } else if (options.input == "-" && options.loops != 1) {
    error = "standard input can be played only once";
  } else {
    return true;
  }
  return false;
}

}  // namespace

std::string InputName(const Options& options) {
  if (options.random) return "the random stream";
  return options.input == "-" ? "standard input" : options.input;
}

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
  enum { kQuiet = 1000 };
  static const option kLongOptions[] = {{"tcp", optional_argument, nullptr, 't'},
                                        {"wait", required_argument, nullptr, 'w'},
                                        {"queue", no_argument, nullptr, 'q'},
                                        {"system", required_argument, nullptr, 's'},
                                        {"file", required_argument, nullptr, 'f'},
                                        {"random", no_argument, nullptr, 'r'},
                                        {"speed", required_argument, nullptr, 'x'},
                                        {"rate", required_argument, nullptr, 'R'},
                                        {"loop", required_argument, nullptr, 'l'},
                                        {"duration", required_argument, nullptr, 'd'},
                                        {"count", required_argument, nullptr, 'n'},
                                        {"json", no_argument, nullptr, 'j'},
                                        {"log", required_argument, nullptr, 'L'},
                                        {"quiet", no_argument, nullptr, kQuiet},
                                        {"help", no_argument, nullptr, 'h'},
                                        {"version", no_argument, nullptr, 'V'},
                                        {nullptr, 0, nullptr, 0}};
  Options options;
  opterr = 0;
  optind = 1;
  int option;
  while ((option = getopt_long(argc, argv, ":t::w:qs:f:rx:R:l:d:n:jL:hV", kLongOptions, nullptr)) !=
         -1) {
    switch (option) {
      case 't': {
        if (!SetMethod(options, MethodKind::kTcp, error)) return std::nullopt;
        if (optarg == nullptr) break;
        const std::optional<std::int64_t> port = WholeNumber(optarg);
        if (!port || *port > 65535) {
          error = "the port must be 0 to 65535 (0: any free port)";
          return std::nullopt;
        }
        options.port = static_cast<std::uint16_t>(*port);
        break;
      }
      case 'w': {
        const std::optional<double> seconds = Number(optarg);
        if (!seconds || *seconds < 0) {
          error = "--wait needs a number of seconds";
          return std::nullopt;
        }
        options.waitSeconds = *seconds;
        break;
      }
      case 'q':
        if (!SetMethod(options, MethodKind::kQueue, error)) return std::nullopt;
        break;
      case 's': {
        const std::int16_t system = SystemNumber(optarg);
        if (system < 0) {
          error = "unknown system '" + std::string(optarg) +
                  "': give a system number of the catalogue or its code (18, GENERICTCP)";
          return std::nullopt;
        }
        options.system = system;
        options.systemGiven = true;
        break;
      }
      case 'f':
        if (!SetMethod(options, MethodKind::kFile, error)) return std::nullopt;
        options.filePath = optarg;
        if (options.filePath.empty()) {
          error = "--file needs a path";
          return std::nullopt;
        }
        break;
      case 'r':
        options.random = true;
        break;
      case 'x': {
        const std::optional<double> speed = Number(optarg);
        if (!speed || *speed <= 0) {
          error = "--speed needs a number above 0";
          return std::nullopt;
        }
        options.speed = *speed;
        options.speedGiven = true;
        break;
      }
      case 'R': {
        const std::optional<double> rate = Number(optarg);
        if (!rate || *rate < 0) {
          error = "--rate needs a number of events per second (0: as fast as possible)";
          return std::nullopt;
        }
        options.rate = *rate;
        options.rateGiven = true;
        break;
      }
      case 'l': {
        const std::optional<std::int64_t> loops = WholeNumber(optarg);
        if (!loops) {
          error = "--loop needs a whole number (0: until stopped)";
          return std::nullopt;
        }
        options.loops = *loops;
        break;
      }
      case 'd': {
        const std::optional<double> duration = Number(optarg);
        if (!duration || *duration < 0) {
          error = "--duration needs a number of seconds";
          return std::nullopt;
        }
        options.duration = *duration;
        break;
      }
      case 'n': {
        const std::optional<std::int64_t> count = WholeNumber(optarg);
        if (!count) {
          error = "--count needs a whole number";
          return std::nullopt;
        }
        options.count = *count;
        break;
      }
      case 'j':
        options.json = true;
        break;
      case 'L':
        options.logPath = optarg;
        break;
      case kQuiet:
        options.quiet = true;
        break;
      case 'h':
        options.help = true;
        return options;
      case 'V':
        options.version = true;
        return options;
      case ':':
        error = "option " + OptionName(argv) + " needs a value";
        return std::nullopt;
      default:
        error = "unknown option " + OptionName(argv);
        return std::nullopt;
    }
  }
  if (optind < argc) options.input = argv[optind++];
  if (optind < argc) {
    error = "one input only; found '" + std::string(argv[optind]) + "' as well";
    return std::nullopt;
  }
  if (!CheckCombinations(options, error)) return std::nullopt;
  return options;
}

}  // namespace Play
