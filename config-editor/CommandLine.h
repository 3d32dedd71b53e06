// The command line of halvane-config:
//
//   halvane-config [[--folder] DIR] [--calendar FILE]
//   halvane-config --help
//   halvane-config --version
#pragma once

#include <string>
#include <vector>

namespace ConfigEditor {

// The program's exit status.
enum ExitStatus : int {
  kExitOk = 0,              // the window was closed, or the help was shown
  kExitFolderUnusable = 1,  // the program folder is not a folder that can be read
  kExitNoWindow = 2,        // bad usage, or no display to show the window on
};

struct EditorOptions {
  std::string folder;    // empty: the folder of the program file
  std::string calendar;  // empty: "Calendar.dat" in the program folder
  bool help = false;
  bool version = false;
};

struct ParsedCommandLine {
  EditorOptions options;
  std::string error;  // what is wrong with the arguments; empty when nothing is
};

// The arguments after the program's name. The folder is a plain argument, "--folder DIR"
// or "--folder=DIR"; a later option of the same name wins, but a plain folder and another
// one are an error.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();
// "halvane-config" and the project's version, as --version and Help > About show it.
std::string VersionText();

}  // namespace ConfigEditor
