// The profile file, "Profiles/Profile_NNNN.dat": a 16-bit version number, one record of
// that version, then the profile's time schedule in its disk form (config/cTimeSchedule.h).
// Encodings as in common/BinaryCodec.h. Bytes after the schedule are not read.
//
//   field  version 5 (written)                         version 4 (read)
//    1     int16      reserved (0)                     the same
//    2     flag       enabled
//    3     text       name
//    4     3 x int16  states 0..2
//    5     flag       use time schedule
//    6     int16      reserved (0)
//    7     int16      reserved (0)                     off-duty alarm behaviour
//    8     text       parallel receivers
//    9     text       sequential receivers
//   10     6 x text   conditions 0..5
//   11     int16      time-schedule view day type
//   12     int16      calendar view time axis
//   13     flag       use external tag
//   14     text       external tag name
//   15     flag       ignore external tag in other profiles
//   16     flag       use external file
//   17     text       external file name
//   18     text       external file text
//   19     flag       scan specific systems
//   20     64 x int16 systems 0..63                    ends here
//   21     int16      off-duty alarm behaviour
//   22     date-time  time of writing
//   23     2048 bytes reserved (zero)
//
// A version-5 record with empty texts is 2,238 bytes; with the version number and an
// empty schedule (186 bytes) the file is 2,426 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "common/BinaryCodec.h"
#include "common/Halvane_Common_Constants.h"
#include "config/cTimeSchedule.h"

namespace Halvane_Config {

inline constexpr int kProfileStates = 3;
inline constexpr int kProfileConditions = 6;
inline constexpr int kProfileSystems = Halvane_Common_Constants::kScadaSystemSlots;

enum class ProfileFileVersion : std::int16_t { V4 = 4, V5 = 5 };

// One record and the schedule after it, as read or to be written.
struct ProfileRecord {
  ProfileFileVersion version = ProfileFileVersion::V5;
  bool enabled = true;
  std::u16string name;
  std::array<std::int16_t, kProfileStates> states{};
  bool useTimeSchedule = false;
  std::u16string parallellReceivers;
  std::u16string sequentialReceivers;
  std::array<std::u16string, kProfileConditions> conditions;
  std::int16_t timeScheduleViewDayType = 0;
  std::int16_t calendarViewTimeAxis = 0;
  bool useExternalTag = false;
  std::u16string externalTagName;
  bool ignoreExternalTagInOtherProfiles = false;
  bool useExternalFile = false;
  std::u16string externalFileName;
  std::u16string externalFileText;
  bool scanSpecificSystems = false;
  std::array<std::int16_t, kProfileSystems> systems{};
  std::int16_t offDutyAlarmBehaviour = 0;
  Halvane_Common_Procedures::DateTime timeOfWriting;  // version 5 only
  std::shared_ptr<cTimeSchedule> schedule;
};

// Whether a profile file of this version number can be read.
bool IsProfileFileVersion(std::int16_t version);

// Reads the record of a version that IsProfileFileVersion accepts, after its version
// number, and a new schedule after it. Data that ends early raises error 62, a schedule
// no one can hold error 321.
ProfileRecord GetProfileRecord(Halvane_Common_Procedures::ByteInput& in,
                               ProfileFileVersion version);

// A whole version-5 file: version number, record and schedule. Without a
// schedule it raises error 91, for a text longer than 65,535 characters error 6.
std::string ProfileFileBytes(const ProfileRecord& record);

}  // namespace Halvane_Config
