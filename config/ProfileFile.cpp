#include "config/ProfileFile.h"

#include "common/RuntimeError.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

namespace {

constexpr std::size_t kReservedAtEnd = 2048;

}  // namespace

bool IsProfileFileVersion(std::int16_t version) {
  return version == static_cast<std::int16_t>(ProfileFileVersion::V4) ||
         version == static_cast<std::int16_t>(ProfileFileVersion::V5);
}

ProfileRecord GetProfileRecord(hcp::ByteInput& in, ProfileFileVersion version) {
  ProfileRecord record;
  record.version = version;
  hcp::GetInt16(in);
  record.enabled = hcp::GetFlag(in);
  record.name = hcp::GetText(in);
  for (std::int16_t& state : record.states)
    state = hcp::GetInt16(in);
  record.useTimeSchedule = hcp::GetFlag(in);
  hcp::GetInt16(in);
  const std::int16_t field7 = hcp::GetInt16(in);
  record.parallellReceivers = hcp::GetText(in);
  record.sequentialReceivers = hcp::GetText(in);
  for (std::u16string& condition : record.conditions)
    condition = hcp::GetText(in);
  record.timeScheduleViewDayType = hcp::GetInt16(in);
  record.calendarViewTimeAxis = hcp::GetInt16(in);
  record.useExternalTag = hcp::GetFlag(in);
  record.externalTagName = hcp::GetText(in);
  record.ignoreExternalTagInOtherProfiles = hcp::GetFlag(in);
  record.useExternalFile = hcp::GetFlag(in);
  record.externalFileName = hcp::GetText(in);
  record.externalFileText = hcp::GetText(in);
  record.scanSpecificSystems = hcp::GetFlag(in);
  for (std::int16_t& system : record.systems)
    system = hcp::GetInt16(in);
  if (version == ProfileFileVersion::V4) {
    record.offDutyAlarmBehaviour = field7;
  } else {
    record.offDutyAlarmBehaviour = hcp::GetInt16(in);
    record.timeOfWriting = hcp::GetDateTime(in);
    in.Skip(kReservedAtEnd);
  }
  record.schedule = std::make_shared<cTimeSchedule>();
  record.schedule->GetDiskForm(in);
  return record;
}

std::string ProfileFileBytes(const ProfileRecord& record) {
  if (!record.schedule) throw hcp::RuntimeError(hcp::kObjectVariableNotSet);
  std::string bytes;
  hcp::PutInt16(bytes, static_cast<std::int16_t>(ProfileFileVersion::V5));
  hcp::PutInt16(bytes, 0);
  hcp::PutFlag(bytes, record.enabled);
  hcp::PutText(bytes, record.name);
  for (std::int16_t state : record.states)
    hcp::PutInt16(bytes, state);
  hcp::PutFlag(bytes, record.useTimeSchedule);
  hcp::PutInt16(bytes, 0);
  hcp::PutInt16(bytes, 0);
  hcp::PutText(bytes, record.parallellReceivers);
  hcp::PutText(bytes, record.sequentialReceivers);
  for (const std::u16string& condition : record.conditions)
    hcp::PutText(bytes, condition);
  hcp::PutInt16(bytes, record.timeScheduleViewDayType);
  hcp::PutInt16(bytes, record.calendarViewTimeAxis);
  hcp::PutFlag(bytes, record.useExternalTag);
  hcp::PutText(bytes, record.externalTagName);
  hcp::PutFlag(bytes, record.ignoreExternalTagInOtherProfiles);
  hcp::PutFlag(bytes, record.useExternalFile);
  hcp::PutText(bytes, record.externalFileName);
  hcp::PutText(bytes, record.externalFileText);
  hcp::PutFlag(bytes, record.scanSpecificSystems);
  for (std::int16_t system : record.systems)
    hcp::PutInt16(bytes, system);
  hcp::PutInt16(bytes, record.offDutyAlarmBehaviour);
  hcp::PutDateTime(bytes, record.timeOfWriting);
  hcp::PutZeros(bytes, kReservedAtEnd);
  record.schedule->PutDiskForm(bytes);
  return bytes;
}

}  // namespace Halvane_Config
