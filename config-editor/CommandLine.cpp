#include "config-editor/CommandLine.h"

#include <string_view>

#include "HalvaneVersion.h"

namespace ConfigEditor {

namespace {

// Takes the value of "--name VALUE" or "--name=VALUE"; false when the argument is not
// that option. A missing or empty value is an error.
bool TakeValue(std::string_view name, const std::vector<std::string>& arguments, std::size_t& i,
               std::string& value, std::string& error) {
  const std::string_view argument = arguments[i];
  if (argument == name) {
    value = i + 1 < arguments.size() ? arguments[++i] : std::string();
  } else if (argument.size() > name.size() && argument.starts_with(name) &&
             argument[name.size()] == '=') {
    value = std::string(argument.substr(name.size() + 1));
  } else {
    return false;
  }
  if (value.empty()) error = std::string(name) + " needs a path";
  return true;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  std::string plain;  // the folder as a plain argument
  for (std::size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      parsed.options.help = true;
    } else if (argument == "--version" || argument == "-V") {
      parsed.options.version = true;
    } else if (!argument.empty() && argument[0] != '-') {
      if (!plain.empty()) parsed.error = "one folder only: " + plain + " or " + argument + "?";
      plain = argument;
    } else if (!TakeValue("--folder", arguments, i, parsed.options.folder, parsed.error) &&
               !TakeValue("--calendar", arguments, i, parsed.options.calendar, parsed.error)) {
      parsed.error = "unknown argument: " + argument;
    }
  }
  if (!plain.empty() && parsed.error.empty()) {
    if (!parsed.options.folder.empty()) {
      parsed.error = "one folder only: " + plain + " or " + parsed.options.folder + "?";
    }
    parsed.options.folder = plain;
  }
  return parsed;
}

std::string UsageText() {
  return "Usage: halvane-config [[--folder] DIR] [--calendar FILE]\n"
         "  or:  halvane-config --help | --version\n"
         "\n"
         "Shows and changes what an alarm server loads from its program folder: the\n"
         "profiles (Profiles/Profile_NNNN.dat) with their weekly schedules, the calendar of\n"
         "day types and the receivers (Receivers/Receiver_NNNN.dat).\n"
         "\n"
         "  DIR, --folder DIR\n"
         "                   the program folder (default: the folder of this program)\n"
         "  --calendar FILE  the calendar file (default: Calendar.dat in the program folder)\n"
         "  --help           this text\n"
         "  --version        the version\n"
         "\n"
         "Exit status: 0 when the window was closed, 1 when the folder cannot be opened,\n"
         "2 for bad usage or when there is no display to show the window on.\n";
}

std::string VersionText() {
  return std::string("halvane-config ") + kHalvaneVersion;
}

}  // namespace ConfigEditor
