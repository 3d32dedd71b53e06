// Composing fake events from the window's fields and delivering them.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

class FXL_Main;

namespace FXL_Procs {

enum EventType : std::int16_t { kInactive = 0, kActive = 1, kAcked = 2, kMessage = 3 };

// The nine "|"-separated fields of one event; a message leaves tag, area, category and
// status empty. Nothing is quoted or escaped.
QString ComposeEventLine(std::int16_t eventType, const QString& date, const QString& time,
                         const QString& tag, const QString& area, const QString& category,
                         const QString& name, const QString& description, const QString& status);

// What goes into command queue 0: "TA:" line "|" system number, or "FT:" name 0xFE text.
QString AlarmCommand(const QString& eventLine, std::int16_t systemNumber);
QString MessageCommand(const QString& receiverName, const QString& messageText);

// "_" and two hexadecimal digits drawn from r in [0, 1); all 256 are equally likely.
QString RandomTagSuffix(double r);

// What became of one burst of events.
struct BurstReport {
  std::int32_t requested = 0;
  // Events the generic file did not take (the burst goes on without them).
  std::int32_t fileFailures = 0;
  // Set when the burst was stopped: the exchange library cannot be bound, or the
  // count is beyond what can be sent. The user has been told why.
  bool stopped = false;
};

// Sends the number of events the window asks for, each composed from the fields as they
// are at that moment, by the selected connection method.
BurstReport SendEvents(FXL_Main& form, std::int16_t EventType, bool AppendRandomNumbers);

// Appends bytes to a file, creating it when missing; false when any step failed.
bool AppendToFile(const std::string& path, const std::string& bytes);

// Field ItemNo (from 0) of a delimited text. An empty Delimiter is replaced by a tab or
// ";" when the text holds one (and the caller sees the replacement). Texts of any length
// are split.
QString Item(const QString& InString, std::int16_t ItemNo, QString& Delimiter);

// Where the configuration classes log; this program has no log.
void LogMessage(QString& text);

}  // namespace FXL_Procs
