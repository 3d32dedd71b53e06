// Decoding one configuration file of an alarm server, with the loaders the server uses,
// into a Document tree, and what a commissioning engineer should know about it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Document.h"

namespace configdump {

enum class FileKind { Receiver, Profile, Calendar, Alarm };

// The name of the calendar in a program folder.
inline constexpr const char* kCalendarFileName = "Calendar.dat";

// What reading one file found.
struct Decoded {
  Node details = Node::object();     // every field, the problems last
  bool readable = false;             // the server can load it
  std::optional<std::int64_t> size;  // of a file that could be opened
  std::optional<std::int16_t> version;
  std::optional<bool> enabled;
  std::optional<std::string> name;  // UTF-8
  std::string contents;             // a calendar's dates set, in one line
  std::vector<std::string> problems;

  // The problems as a list node.
  Node problemsNode() const;
};

// The disk identity in the name of a receiver's or profile's file ("Receiver_0042.dat"
// gives 42); nothing for another name.
std::optional<int> identityOfFileName(const std::string& fileName, FileKind kind);
// The kind of a file by its name (Receiver_NNNN.dat, Profile_NNNN.dat, Calendar.dat), also
// when it is damaged, else by its size; nothing when neither tells.
std::optional<FileKind> kindOfFile(const std::string& path);

Decoded decodeReceiver(const std::string& path);
Decoded decodeProfile(const std::string& path);
// Only the dates with a day type set, unless allDays.
Decoded decodeCalendar(const std::string& path, bool allDays);
// count records back to back from the byte offset.
Decoded decodeAlarms(const std::string& path, std::uint64_t offset, std::uint64_t count);

}  // namespace configdump
