// Composing fake events from the window's fields and delivering them.
#pragma once

#include <QString>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "events/EventLine.h"
#include "injector/Controls.h"
#include "injector/TcpLink.h"

class CommandQueueLibrary;

namespace FXL_Procs {

// Tag, Area, Category, Name, Description and Status.
inline constexpr int kFieldCount = 6;

using FauxlarmEvents::EventType;
using enum FauxlarmEvents::EventType;

// "_" and two hexadecimal digits drawn from r in [0, 1); all 256 are equally likely.
QString RandomTagSuffix(double r);

// Why events of a burst were not delivered.
enum class Undelivered {
  kNone,
  kNoServer,        // generic TCP with no alarm server connected
  kFileError,       // the generic file could not be written
  kLibraryMissing,  // the exchange library could not be bound
  kCountTooLarge,   // the number of events is more than a 32-bit count
  kServerStalled,   // the alarm server took no data for too long
  kCancelled,       // the user stopped the burst
  // Events queued on the connection that the server had not acknowledged when:
  kDisconnected,     // the server closed the connection
  kTakenOver,        // another server connected and took the connection over
  kConnectionError,  // the connection failed
};

// What became of one burst of events.
struct BurstReport {
  std::int32_t requested = 0;
  // Events handed over: appended to the file, put into the queue, or queued on the
  // connection.
  std::int32_t sent = 0;
  // Why the others were not; the first reason met, and the system's words for it.
  Undelivered reason = Undelivered::kNone;
  QString detail;
  // Set when the burst stopped for a fault the user must hear of: what to tell.
  QString stopMessage;

  std::int32_t NotDelivered() const { return requested - sent; }
  bool Stopped() const { return !stopMessage.isEmpty(); }
};

// Asked every few events, and while a slow server is waited for, with the events handled
// so far and the events requested; false cancels the rest of the burst.
using BurstContinue = std::function<bool(std::int32_t done, std::int32_t requested)>;

// The parts of the main window that a burst reads and writes, and where it delivers.
struct EventForm {
  const std::array<TextControl, kFieldCount>& Text_Field;
  const TextControl& Text_Date;
  const TextControl& Text_Time;
  // Rewritten to "1" when it asks for fewer than one event.
  TextControl& Text_NumberOfEvents;
  const OptionControlArray& Option_ConnectionType;
  const ComboControl& Combo_Systems;
  DataSocket& Winsock_Data;
  CommandQueueLibrary& library;
  const BurstContinue& Continue;
  // Asked instead of Continue once the alarm server has taken nothing for a while.
  const ServerWait& WaitingForServer;
  // How long an alarm server that takes no data is waited for before the burst stops.
  std::chrono::milliseconds serverPatience;
};

// Sends the number of events the window asks for, each composed from the fields as they
// are at that moment, by the selected connection method. The generic file lies in the
// program folder. The connection holds at most DataSocket::kQueueLimit bytes that the
// server has not taken; beyond that the burst waits for the server.
BurstReport SendEvents(const EventForm& form, std::int16_t EventType, bool AppendRandomNumbers);

// Field ItemNo (from 0) of a delimited text. An empty Delimiter is replaced by a tab or
// ";" when the text holds one (and the caller sees the replacement). Texts of any length
// are split.
QString Item(const QString& InString, std::int16_t ItemNo, QString& Delimiter);

}  // namespace FXL_Procs
