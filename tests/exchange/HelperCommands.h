// The exchange helper's commands that only one platform has (posix/HelperCommands.cpp,
// windows/HelperCommands.cpp), beside the shared ones of ExchangeHelper.cpp.
#pragma once

#include <cstdint>
#include <string>

// A number in C notation ("0x80000005" too).
int32_t number(const char* text);
// Ends the helper, showing its usage, unless the command at argv[i] has `count` arguments.
void needArguments(int argc, int i, int count);
// Runs the platform's command at argv[i] and moves i to its last argument; false when the
// platform has no such command.
bool runPlatformCommand(const std::string& command, int argc, char** argv, int& i);
// The platform's commands, for the usage text.
extern const char* const kPlatformCommands;
