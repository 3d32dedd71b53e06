#include "DumpOptions.h"

#include <getopt.h>

#include <charconv>
#include <cstring>

namespace configdump {

const char* const kDumpUsage =
    "Usage: halvane-config-dump [options] FILE...\n"
    "  or:  halvane-config-dump [options] --folder DIR\n"
    "Shows what is inside the configuration files of a Halvane alarm server, decoded by the\n"
    "same code the server loads them with: receivers (Receivers/Receiver_NNNN.dat), profiles\n"
    "with their time schedules (Profiles/Profile_NNNN.dat), calendars, and alarm records\n"
    "inside a file. Nothing is ever written.\n"
    "\n"
    "  -f, --folder DIR    summarise every receiver and profile in DIR, a program folder with\n"
    "                      Receivers/ and Profiles/ below it or a folder holding the files:\n"
    "                      identity, version, enabled, name and the problems found; and\n"
    "                      its Calendar.dat: size, dates set per year, problems\n"
    "  -k, --kind KIND     read every FILE as a receiver, profile, calendar or alarm; by\n"
    "                      default the name tells (Receiver_NNNN.dat, Profile_NNNN.dat,\n"
    "                      Calendar.dat), else a file of 29,220 bytes is a calendar\n"
    "  -o, --offset BYTES  alarm records: the byte where the first one starts (default 0)\n"
    "  -n, --count N       alarm records: how many follow one another (default 1)\n"
    "  -a, --all           calendars: every date, not only those set to a day type\n"
    "  -j, --json          JSON instead of text (keys are the text's labels in camel case;\n"
    "                      FILE... gives an array with one object per file)\n"
    "  -h, --help          show this text\n"
    "  -V, --version       show the version\n"
    "\n"
    "Exit status: 0 every file read, 1 a file could not be read (missing, a folder, damaged;\n"
    "for --folder: a receiver, profile or calendar that the server cannot load), 2 bad\n"
    "usage.\n";

namespace {

std::optional<FileKind> parseKind(const std::string& name) {
  if (name == "receiver") return FileKind::Receiver;
  if (name == "profile") return FileKind::Profile;
  if (name == "calendar") return FileKind::Calendar;
  if (name == "alarm") return FileKind::Alarm;
  return std::nullopt;
}

std::optional<std::uint64_t> parseCount(const char* text, std::uint64_t lowest) {
  std::uint64_t value = 0;
  const char* end = text + std::strlen(text);
  const auto result = std::from_chars(text, end, value);
  // A byte offset has to fit a file position.
  if (result.ec != std::errc() || result.ptr != end || value < lowest || value > INT64_MAX - 1) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<DumpOptions> parseDumpOptions(int argc, char** argv, std::string& error) {
  static const option kLongOptions[] = {{"folder", required_argument, nullptr, 'f'},
                                        {"kind", required_argument, nullptr, 'k'},
                                        {"offset", required_argument, nullptr, 'o'},
                                        {"count", required_argument, nullptr, 'n'},
                                        {"all", no_argument, nullptr, 'a'},
                                        {"json", no_argument, nullptr, 'j'},
                                        {"help", no_argument, nullptr, 'h'},
                                        {"version", no_argument, nullptr, 'V'},
                                        {nullptr, 0, nullptr, 0}};
  DumpOptions options;
  bool alarmPlacing = false;
  opterr = 0;
  optind = 1;
  int option;
  while ((option = getopt_long(argc, argv, ":f:k:o:n:ajhV", kLongOptions, nullptr)) != -1) {
    switch (option) {
      case 'f':
        options.folder = optarg;
        break;
      case 'k':
        options.kind = parseKind(optarg);
        if (!options.kind) {
          error = "unknown kind '" + std::string(optarg) + "' (receiver, profile, calendar, alarm)";
          return std::nullopt;
        }
        break;
      case 'o':
      case 'n': {
        const std::optional<std::uint64_t> value = parseCount(optarg, option == 'n' ? 1 : 0);
        if (!value) {
          error = std::string("bad ") + (option == 'n' ? "count" : "offset") + " '" + optarg + "'";
          return std::nullopt;
        }
        (option == 'n' ? options.count : options.offset) = *value;
        alarmPlacing = true;
        break;
      }
      case 'a':
        options.allDays = true;
        break;
      case 'j':
        options.json = true;
        break;
      case 'h':
        options.help = true;
        return options;
      case 'V':
        options.version = true;
        return options;
      case ':':
        error = std::string("option '") + argv[optind - 1] + "' needs a value";
        return std::nullopt;
      default:
        error = std::string("unknown option '") + argv[optind - 1] + "'";
        return std::nullopt;
    }
  }
  for (int i = optind; i < argc; ++i)
    options.files.emplace_back(argv[i]);
  if (options.folder && !options.files.empty()) {
    error = "give either --folder or files, not both";
  } else if (!options.folder && options.files.empty()) {
    error = "no file given";
  } else if (alarmPlacing && options.kind != FileKind::Alarm) {
    error = "--offset and --count need --kind alarm";
  }
  if (!error.empty()) return std::nullopt;
  return options;
}

}  // namespace configdump
