#include "events/EventLine.h"

#include <charconv>

#include "common/Numbers.h"

namespace FauxlarmEvents {
namespace {

void AppendNumber(int value, std::string& out) {
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

}  // namespace

void AppendEventLine(std::int16_t eventType, const EventFields& fields, std::string& out) {
  const char bar = '|';
  AppendNumber(eventType, out);
  out += bar;
  out += fields.date;
  out += bar;
  out += fields.time;
  out += bar;
  if (eventType == kMessage) {
    out += "|||";
    out += fields.name;
    out += bar;
    out += fields.description;
    out += bar;
    return;
  }
  out += fields.tag;
  out += bar;
  out += fields.area;
  out += bar;
  out += fields.category;
  out += bar;
  out += fields.name;
  out += bar;
  out += fields.description;
  out += bar;
  out += fields.status;
}

void AppendAlarmCommand(std::string_view eventLine, std::int16_t systemNumber, std::string& out) {
  out += "TA:";
  out += eventLine;
  out += '|';
  AppendNumber(systemNumber, out);
}

void AppendMessageCommand(std::string_view receiverName, std::string_view messageText,
                          std::string& out) {
  out += "FT:";
  out += receiverName;
  out += '\xFE';  // "þ" in Windows-1252: the byte that separates name and text
  out += messageText;
}

std::string RandomTagSuffix(double r) {
  const int value = static_cast<int>(Halvane_Common_Procedures::RoundHalfEven(r * 256)) & 0xFF;
  const char* const hex = "0123456789ABCDEF";
  return {'_', hex[value >> 4], hex[value & 0xF]};
}

std::int16_t StreamEventType(double r) {
  const double type = Halvane_Common_Procedures::RoundHalfEven(r * 3);
  return static_cast<std::int16_t>(type > 2 ? 2 : type);
}

}  // namespace FauxlarmEvents
