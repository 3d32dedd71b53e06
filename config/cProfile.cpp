#include "config/cProfile.h"

#include "common/Halvane_Common_Procedures.h"
#include "config/DiskFiles.h"
#include "config/HostProgramData.h"
#include "config/UpperCase.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

KeyedCollection<cProfile> ProfileCollection;

namespace {

constexpr VersionedFileKind kFiles{
    .files = {u"Profiles/", u"Profile_"},
    .isKnownVersion = IsProfileFileVersion,
    .unknownVersionText = 805,
    .upgradedText = 930,
    .loadFailedText = 982,
    .saveFailedText = 980,
};
// The number of the text of the removal's log line.
constexpr std::int32_t kRemovedText = 981;

void CheckIndex(std::int16_t index, int count) {
  if (index < 0 || index >= count) throw hcp::RuntimeError(hcp::kSubscriptOutOfRange);
}

// A schedule of its own with the same periods, through the period array text; none for
// none.
std::shared_ptr<cTimeSchedule> CopyOf(const std::shared_ptr<cTimeSchedule>& schedule) {
  if (!schedule) return nullptr;
  auto copy = std::make_shared<cTimeSchedule>();
  copy->ExtractPeriodArray(schedule->ComposePeriodArray());
  return copy;
}

// One line for a loaded file whose schedule holds minutes outside 0..1440, naming the day
// types: another tool, or an older one, may have written them, and the profile still routes
// alarms, so it loads.
void WarnOfMinutesOutsideTheDay(const std::u16string& path, const cTimeSchedule& schedule) {
  const std::vector<int> dayTypes = schedule.DayTypesOutsideTheDay();
  if (dayTypes.empty()) return;
  std::u16string names;
  for (const int d : dayTypes) {
    if (!names.empty()) names += u", ";
    names += DayTypeNames[d].empty() ? u"day type " + hcp::Utf8ToUtf16(std::to_string(d))
                                     : DayTypeNames[d];
  }
  hcp::LogMessage(u"Time schedule with minutes outside 00:00-24:00, kept as stored: '" + path +
                  u"' (" + names + u")");
}

bool SameSchedule(const std::shared_ptr<cTimeSchedule>& a,
                  const std::shared_ptr<cTimeSchedule>& b) {
  if (!a || !b) return !a && !b;
  return a->ComposePeriodArray() == b->ComposePeriodArray();
}

}  // namespace

std::u16string cProfile::CreateFileName(std::int16_t DiskIdentity) {
  return kFiles.files.FileName(DiskIdentity);
}

bool cProfile::LoadFromDisk(std::int16_t DiskIdentity) {
  const LoadOutcome outcome =
      LoadVersionedFile(kFiles, DiskIdentity, [this](hcp::ByteInput& in, std::int16_t version) {
        TakeRecord(GetProfileRecord(in, ProfileFileVersion{version}));
      });
  m_DiskIdentity = DiskIdentity;
  if (outcome.loaded) WarnOfMinutesOutsideTheDay(CreateFileName(DiskIdentity), *m_TimeSchedule);
  if (outcome.upgraded) SaveToDisk();
  RememberOriginalSettings();
  return outcome.loaded;
}

void cProfile::TakeRecord(const ProfileRecord& record) {
  m_TimeSchedule = record.schedule;
  m_Enabled = record.enabled;
  SetName(record.name);
  m_State = record.states;
  m_UseTimeSchedule = record.useTimeSchedule;
  m_OffDutyAlarmBehaviour = record.offDutyAlarmBehaviour;
  m_ParallellReceivers = record.parallellReceivers;
  m_SequentialReceivers = record.sequentialReceivers;
  m_Condition = record.conditions;
  m_TimeSchedule_ViewDayType = record.timeScheduleViewDayType;
  m_Calendar_ViewTimeAxis = record.calendarViewTimeAxis;
  m_UseExternalTag = record.useExternalTag;
  m_ExternalTagName = record.externalTagName;
  m_IgnoreExternalTagInOtherProfiles = record.ignoreExternalTagInOtherProfiles;
  m_UseExternalFile = record.useExternalFile;
  m_ExternalFileName = record.externalFileName;
  m_ExternalFileText = record.externalFileText;
  m_ScanSpecificSystems = record.scanSpecificSystems;
  m_Systems = record.systems;
  if (record.version == ProfileFileVersion::V5) m_FileDateTimeStamp = record.timeOfWriting;
}

bool cProfile::SaveToDisk() {
  return SaveAlone([this](SaveBatch& batch) { return SaveToDisk(batch); });
}

std::size_t cProfile::SaveToDisk(SaveBatch& Batch) {
  return Batch.Add(
      kFiles, m_DiskIdentity, m_HasUpdatedDiskIdentity,
      [this] { return ProfileFileBytes(RecordToSave()); }, [this] { RememberOriginalSettings(); });
}

ProfileRecord cProfile::RecordToSave() const {
  ProfileRecord record;
  record.enabled = m_Enabled;
  record.name = m_Name;
  record.states = m_State;
  record.useTimeSchedule = m_UseTimeSchedule;
  record.parallellReceivers = m_ParallellReceivers;
  record.sequentialReceivers = m_SequentialReceivers;
  record.conditions = m_Condition;
  record.timeScheduleViewDayType = m_TimeSchedule_ViewDayType;
  record.calendarViewTimeAxis = m_Calendar_ViewTimeAxis;
  record.useExternalTag = m_UseExternalTag;
  record.externalTagName = m_ExternalTagName;
  record.ignoreExternalTagInOtherProfiles = m_IgnoreExternalTagInOtherProfiles;
  record.useExternalFile = m_UseExternalFile;
  record.externalFileName = m_ExternalFileName;
  record.externalFileText = m_ExternalFileText;
  record.scanSpecificSystems = m_ScanSpecificSystems;
  record.systems = m_Systems;
  record.offDutyAlarmBehaviour = m_OffDutyAlarmBehaviour;
  record.timeOfWriting = hcp::Now();
  record.schedule = m_TimeSchedule;
  return record;
}

bool cProfile::RemoveFromDisk(std::int16_t DiskIdentity) {
  const std::u16string path = CreateFileName(DiskIdentity);
  StepFailures failures;
  std::u16string line = hcp::GetTextByNumber(kRemovedText) + u" '" + m_Name + u"' " + path;
  if (!failures.Run([&] { DeleteFile(path); })) line += u" Err:" + failures.Description();
  hcp::LogMessage(line);
  const std::u16string key = CollectionKey(DiskIdentity);
  if (ProfileCollection.Contains(key)) ProfileCollection.Remove(key);
  return true;
}

void cProfile::SetName(const std::u16string& NewName) {
  m_Name = NewName;
  m_ParentName.clear();
  m_NestingLevels = 0;
  if (!NestedProfileNames) return;
  for (std::size_t at = NewName.find(u'@'); at != std::u16string::npos;
       at = NewName.find(u'@', at + 1)) {
    m_ParentName = UpperCase(std::u16string_view(NewName).substr(0, at));
    ++m_NestingLevels;
  }
}

std::int16_t cProfile::GetState(std::int16_t Index) const {
  CheckIndex(Index, kProfileStates);
  return m_State[Index];
}

std::int16_t cProfile::SetState(std::int16_t Index, std::int16_t Value) {
  CheckIndex(Index, kProfileStates);
  m_State[Index] = Value;
  return 0;
}

hcp::Variant cProfile::GetCondition(std::int16_t Index) const {
  CheckIndex(Index, kProfileConditions);
  return m_Condition[Index];
}

void cProfile::SetCondition(std::int16_t Index, const hcp::Variant& Value) {
  CheckIndex(Index, kProfileConditions);
  m_Condition[Index] = hcp::ToText(Value);
}

hcp::Variant cProfile::GetSystem(std::int16_t Index) const {
  CheckIndex(Index, kProfileSystems);
  return m_Systems[Index];
}

void cProfile::SetSystem(std::int16_t Index, std::int16_t Value) {
  CheckIndex(Index, kProfileSystems);
  m_Systems[Index] = Value;
}

void cProfile::CopyFrom(const cProfile& Profile) {
  m_Enabled = Profile.m_Enabled;
  SetName(Profile.GetName());
  for (std::int16_t i = 0; i < kProfileStates; ++i)
    m_State[i] = Profile.GetState(i);
  m_UseTimeSchedule = Profile.m_UseTimeSchedule;
  m_ParallellReceivers = Profile.m_ParallellReceivers;
  m_SequentialReceivers = Profile.m_SequentialReceivers;
  for (std::int16_t i = 0; i < kProfileConditions; ++i)
    m_Condition[i] = Profile.GetCondition(i).Get<std::u16string>();
  m_TimeSchedule_ViewDayType = Profile.m_TimeSchedule_ViewDayType;
  m_Calendar_ViewTimeAxis = Profile.m_Calendar_ViewTimeAxis;
  m_UseExternalTag = Profile.m_UseExternalTag;
  m_ExternalTagName = Profile.m_ExternalTagName;
  m_IgnoreExternalTagInOtherProfiles = Profile.m_IgnoreExternalTagInOtherProfiles;
  m_UseExternalFile = Profile.m_UseExternalFile;
  m_ExternalFileName = Profile.m_ExternalFileName;
  m_ExternalFileText = Profile.m_ExternalFileText;
  m_ScanSpecificSystems = Profile.m_ScanSpecificSystems;
  for (std::int16_t i = 0; i < kProfileSystems; ++i)
    m_Systems[i] = Profile.GetSystem(i).Get<std::int16_t>();
  m_OffDutyAlarmBehaviour = Profile.m_OffDutyAlarmBehaviour;
  m_TimeSchedule = CopyOf(Profile.m_TimeSchedule);
}

void cProfile::RememberOriginalSettings() {
  m_Original_Enabled = m_Enabled;
  m_Original_ParentName = m_ParentName;
  m_Original_NestingLevels = m_NestingLevels;
  m_Original_UseTimeSchedule = m_UseTimeSchedule;
  m_Original_ParallellReceivers = m_ParallellReceivers;
  m_Original_SequentialReceivers = m_SequentialReceivers;
  m_Original_TimeSchedule_ViewDayType = m_TimeSchedule_ViewDayType;
  m_Original_Calendar_ViewTimeAxis = m_Calendar_ViewTimeAxis;
  m_Original_UseExternalTag = m_UseExternalTag;
  m_Original_ExternalTagName = m_ExternalTagName;
  m_Original_IgnoreExternalTagInOtherProfiles = m_IgnoreExternalTagInOtherProfiles;
  m_Original_UseExternalFile = m_UseExternalFile;
  m_Original_ExternalFileName = m_ExternalFileName;
  m_Original_ExternalFileText = m_ExternalFileText;
  m_Original_ScanSpecificSystems = m_ScanSpecificSystems;
  m_Original_OffDutyAlarmBehaviour = m_OffDutyAlarmBehaviour;
  m_Original_TimeSchedule = CopyOf(m_TimeSchedule);
  m_Original_Name = m_Name;
  m_Original_State = m_State;
  m_Original_Condition = m_Condition;
  m_Original_Systems = m_Systems;
}

bool cProfile::HasChangedSinceLastLoadFromDisk() const {
  return m_Enabled != m_Original_Enabled || m_ParentName != m_Original_ParentName ||
         m_NestingLevels != m_Original_NestingLevels ||
         m_UseTimeSchedule != m_Original_UseTimeSchedule ||
         m_ParallellReceivers != m_Original_ParallellReceivers ||
         m_SequentialReceivers != m_Original_SequentialReceivers ||
         m_TimeSchedule_ViewDayType != m_Original_TimeSchedule_ViewDayType ||
         m_Calendar_ViewTimeAxis != m_Original_Calendar_ViewTimeAxis ||
         m_UseExternalTag != m_Original_UseExternalTag ||
         m_ExternalTagName != m_Original_ExternalTagName ||
         m_IgnoreExternalTagInOtherProfiles != m_Original_IgnoreExternalTagInOtherProfiles ||
         m_UseExternalFile != m_Original_UseExternalFile ||
         m_ExternalFileName != m_Original_ExternalFileName ||
         m_ExternalFileText != m_Original_ExternalFileText ||
         m_ScanSpecificSystems != m_Original_ScanSpecificSystems ||
         m_OffDutyAlarmBehaviour != m_Original_OffDutyAlarmBehaviour ||
         !SameSchedule(m_TimeSchedule, m_Original_TimeSchedule) || m_Name != m_Original_Name ||
         m_State != m_Original_State || m_Condition != m_Original_Condition ||
         m_Systems != m_Original_Systems;
}

}  // namespace Halvane_Config
