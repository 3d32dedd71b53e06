// Windows processes have no fork; the helper there has the shared commands only.
#include "HelperCommands.h"

const char* const kPlatformCommands = "";

bool runPlatformCommand(const std::string&, int, char**, int&) {
  return false;
}
