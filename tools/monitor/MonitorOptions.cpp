#include "MonitorOptions.h"

#include <getopt.h>

#include <cstdlib>

#include "SharedRegion.h"

const char* const kMonitorUsage =
    "Usage: halvane3-monitor [options]\n"
    "Shows what the processes of the Halvane family exchange through the shared region, as\n"
    "one more process attached to it. Every entry goes on one line; control bytes show as\n"
    "<XX> in hexadecimal (the 0xFE separator of message commands as <FE>), other bytes are\n"
    "read as Windows-1252. A queue keeps its newest entries only (50 for a command queue);\n"
    "when more arrive between two looks than it holds, a line \"-- at least N entries were\n"
    "overwritten before they could be shown --\" says so (\"may have been\" when the count\n"
    "cannot be known). Looking more often (-i) misses fewer.\n"
    "\n"
    "  -q, --queue NAME      follow a queue: command0 to command3 (or 0 to 3), syslog,\n"
    "                        treeview, debug; repeat for several (default: command0)\n"
    "  -s, --sys-info        show the system-information text\n"
    "  -a, --running-apps    show the running-applications bits (bit 31 cannot be read)\n"
    "  -w, --watchdog        show the watchdog counter\n"
    "  -1, --once            print what is there now and exit, instead of following\n"
    "  -i, --interval MS     how often to look while following (default 100)\n"
    "  -h, --help            show this text\n"
    "  -V, --version         show the version\n"
    "\n"
    "On Linux, HALVANE3_NAME_PREFIX chooses the region as it does for the library.\n"
    "Exit status: 0 done, 1 cannot attach to the region, 2 bad usage.\n";

namespace {

std::optional<QueueChoice> parseQueue(const std::string& name) {
  using namespace halvane3;
  if (name == "syslog") return QueueChoice{QueueKind::SysLog, 0, name, kSysLogCapacity};
  if (name == "treeview") return QueueChoice{QueueKind::TreeView, 0, name, kTreeViewCapacity};
  if (name == "debug") return QueueChoice{QueueKind::Debug, 0, name, kDebugCapacity};
  std::string digit = name;
  if (digit.rfind("command", 0) == 0) digit.erase(0, 7);
  if (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '3') {
    return QueueChoice{QueueKind::Command, digit[0] - '0', "command" + digit, kCommandCapacity};
  }
  return std::nullopt;
}

std::optional<int> parseInterval(const char* text) {
  char* end;
  const long value = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < 1 || value > 60'000) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

std::optional<MonitorOptions> parseMonitorOptions(int argc, char** argv, std::string& error) {
  static const option kLongOptions[] = {{"queue", required_argument, nullptr, 'q'},
                                        {"sys-info", no_argument, nullptr, 's'},
                                        {"running-apps", no_argument, nullptr, 'a'},
                                        {"watchdog", no_argument, nullptr, 'w'},
                                        {"once", no_argument, nullptr, '1'},
                                        {"interval", required_argument, nullptr, 'i'},
                                        {"help", no_argument, nullptr, 'h'},
                                        {"version", no_argument, nullptr, 'V'},
                                        {nullptr, 0, nullptr, 0}};
  MonitorOptions options;
  bool queuesGiven = false;
  opterr = 0;
  optind = 1;
  int option;
  while ((option = getopt_long(argc, argv, ":q:saw1i:hV", kLongOptions, nullptr)) != -1) {
    switch (option) {
      case 'q': {
        const std::optional<QueueChoice> queue = parseQueue(optarg);
        if (!queue) {
          error = "unknown queue '" + std::string(optarg) + "'";
          return std::nullopt;
        }
        options.queues.push_back(*queue);
        queuesGiven = true;
        break;
      }
      case 's':
        options.sysInfo = true;
        break;
      case 'a':
        options.runningApps = true;
        break;
      case 'w':
        options.watchdog = true;
        break;
      case '1':
        options.once = true;
        break;
      case 'i': {
        const std::optional<int> interval = parseInterval(optarg);
        if (!interval) {
          error = "the interval must be 1 to 60000 milliseconds";
          return std::nullopt;
        }
        options.intervalMilliseconds = *interval;
        break;
      }
      case 'h':
        options.help = true;
        break;
      case 'V':
        options.version = true;
        break;
      case ':':
        error = std::string("option ") + argv[optind - 1] + " needs a value";
        return std::nullopt;
      default:
        error = std::string("unknown option ") + argv[optind - 1];
        return std::nullopt;
    }
  }
  if (optind < argc) {
    error = std::string("unexpected argument '") + argv[optind] + "'";
    return std::nullopt;
  }
  // Showing only shared values is a choice too; the default queue applies when nothing is.
  if (!queuesGiven && !options.sysInfo && !options.runningApps && !options.watchdog) {
    options.queues.push_back(*parseQueue("command0"));
  }
  return options;
}
