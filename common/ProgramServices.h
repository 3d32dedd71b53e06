// Two program-wide services that every program of the family provides and that the
// configuration classes use: the folder of the program file, and the log.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace Halvane_Common_Procedures {

// The folder of the program file, always ending with "/"; empty until the program sets
// it at start-up. Files of the program (the generic file, "Receivers/", "Profiles/")
// lie below it.
const std::u16string& ProgramFolder();
// Adds the trailing "/" when it is missing. An empty folder stays empty.
void SetProgramFolder(std::u16string_view folder);

// Where LogMessage sends its lines. Fauxlarm has no log, so by default they are dropped;
// hosts and tests install their own sink, and an empty one restores dropping.
using LogSink = std::function<void(const std::u16string& text)>;
void SetLogSink(LogSink sink);
void LogMessage(const std::u16string& text);

}  // namespace Halvane_Common_Procedures
