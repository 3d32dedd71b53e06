// The texts that carry one fake event to an alarm server, as Windows-1252 bytes:
//
//   event line     type|date|time|tag|area|category|name|description|status
//                  a message (type 3) leaves tag, area, category and status empty:
//                  3|date|time||||name|message|
//                  Nothing is quoted or escaped: a "|" in a field adds a field.
//   TCP            the event line and LF
//   generic file   the event line and CR LF, appended
//   command queue  alarms "TA:" event line "|" system number;
//                  messages "FT:" name, the byte 0xFE, message
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace FauxlarmEvents {

enum EventType : std::int16_t { kInactive = 0, kActive = 1, kAcked = 2, kMessage = 3 };

// The command queue of the exchange library that events go into.
inline constexpr int kCommandQueue = 0;

// The generic file's name, in the program's folder.
inline constexpr char kGenericFileName[] = "GenericFile.txt";

// What the window's six fields hold before any setting is restored (Tag, Area, Category,
// Name, Description, Status): the fields of an event nobody has filled in.
inline constexpr std::string_view kDesignFields[] = {
    "TA0220'GT41", "A5", "2", "PressureFault", "Pressure is bad", "ACTIVE"};

// The fields of one event, each already in Windows-1252.
struct EventFields {
  std::string_view date;
  std::string_view time;
  std::string_view tag;
  std::string_view area;
  std::string_view category;
  std::string_view name;         // for a message: the receiver
  std::string_view description;  // for a message: its text
  std::string_view status;
};

void AppendEventLine(std::int16_t eventType, const EventFields& fields, std::string& out);
void AppendAlarmCommand(std::string_view eventLine, std::int16_t systemNumber, std::string& out);
void AppendMessageCommand(std::string_view receiverName, std::string_view messageText,
                          std::string& out);

// "_" and two hexadecimal digits drawn from r in [0, 1); all 256 are equally likely.
std::string RandomTagSuffix(double r);

// The type of a streamed event drawn from r in [0, 1): r x 3 rounded, halves to even, so
// 0 with 1/6, 1 with 1/3, and 2 (3 cut back) with 1/2.
std::int16_t StreamEventType(double r);

// Appends bytes to a file, creating it when missing; false when any step failed, with errno
// telling why. The file is opened and closed each time, so that a reader may take it away
// between events.
bool AppendToFile(const std::string& path, const std::string& bytes);

}  // namespace FauxlarmEvents
