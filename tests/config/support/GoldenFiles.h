// Golden files of receivers, profiles, alarm records and schedules, built by hand from the
// layout of each format (field by field, with Bytes), never by the code under test. The
// tests compare with them and the fuzz targets start from them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Halvane_Config::golden {

// 2026-12-08 12:00:00 as a date-time: what the tests' fixed clock answers.
inline constexpr double kNoon = 46364.5;

// The settings of the hand-built receivers: Integer 5, String "x", Empty, Boolean True.
std::string SampleSettings();

// A version-5 receiver file, and the one a new receiver (no type, no name, empty
// settings) saves: 2,086 bytes.
std::string ReceiverV5(std::int16_t identity, bool enabled, std::int16_t typeId,
                       std::string_view name, std::string_view settings, std::string_view backup,
                       double timeOfWriting);
std::string EmptyReceiverV5(std::int16_t identity, double timeOfWriting);
// Older receivers with SampleSettings: version 3 (first value 7, type 12, "Pump") and
// version 4 (identity 41, disabled, type 12, "Pump", backup "Standby", four unused texts).
std::string ReceiverV3();
std::string ReceiverV4();

// A new schedule's disk form: Monday to Sunday active, no periods (186 bytes).
std::string EmptySchedule();
// A schedule with something in every field: Monday to Friday grouped with 07:00-16:00,
// Monday also 23:00-24:00, rows 0..6, special day type 1 active, the calendar in use.
std::string SampleSchedule();

// The file a new profile with a new schedule saves: 2,426 bytes.
std::string EmptyProfileV5(double timeOfWriting);
// A profile with every field set ("Night", states 1 2 3, receivers, conditions, external
// tag and file, system 18 = 1, SampleSchedule) as version 4 (the off-duty behaviour in
// field 7) or version 5 (in field 21, field 7 zero, with the time of writing).
std::string SampleProfile(int version, std::int16_t offDutyAlarmBehaviour, double timeOfWriting);

// The record of a new alarm with every text empty: 64 bytes.
std::string NewAlarmRecord(double creationTime);
// An alarm record with every item set: event 74565, status 3, conditions "c0".."c5",
// receivers and numbers.
std::string SampleAlarmRecord();

}  // namespace Halvane_Config::golden
