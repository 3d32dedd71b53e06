// A profile: which receivers get which alarms, when (its weekly time schedule) and under
// which conditions. Stored with its schedule in a file of its own,
// "Profiles/Profile_NNNN.dat" below the program folder, NNNN being its disk identity
// (1..9991; the file format is in config/ProfileFile.h).
//
// Loading, saving and removing never raise: a failing step is recorded and the method
// goes on, reports false and writes a line with the failure to LogMessage. Everything
// else raises RuntimeError to the caller (error 9 for an index out of range).
//
// A profile has no schedule until it is loaded or copied, or its user gives it one.
// Without one it cannot be saved (false, error 91 logged); its snapshot then holds no
// schedule either, and copying it leaves the target without one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "common/DateTime.h"
#include "common/Variant.h"
#include "config/KeyedCollection.h"
#include "config/ProfileFile.h"
#include "config/cTimeSchedule.h"

namespace Halvane_Config {

class SaveBatch;

class cProfile {
 public:
  // The file of a disk identity: ProgramFolder, "Profiles/Profile_", the identity's last
  // four digits, ".dat".
  static std::u16string CreateFileName(std::int16_t DiskIdentity);

  // Reads the profile and its schedule. Sets m_DiskIdentity to DiskIdentity whatever
  // happens. False for a missing file or one shorter than 2 bytes (nothing logged), for a
  // version other than 4 and 5 (logged) and for a file that cannot be read (logged); the
  // other members then keep their values. A missing file is not created. Version 4 is
  // logged and rewritten as version 5 at once. Always takes the snapshot.
  bool LoadFromDisk(std::int16_t DiskIdentity);
  // Writes the profile and its schedule as version 5. A profile without an identity first
  // gets a free one (m_HasUpdatedDiskIdentity tells). The old file is replaced only by a
  // complete new one. True when saved; then the snapshot is taken.
  bool SaveToDisk();
  // The same save staged in a batch with others (see SaveBatch): the result is its number
  // there, and the batch's Commit finishes it. The profile must not change until then.
  std::size_t SaveToDisk(SaveBatch& Batch);
  // Deletes the file of DiskIdentity, logs the outcome and takes the profile of that key
  // out of ProfileCollection. Always true.
  bool RemoveFromDisk(std::int16_t DiskIdentity);

  const std::u16string& GetName() const { return m_Name; }
  // With NestedProfileNames on, each "@" makes the name one level deeper, and the part
  // before the last "@", in upper case, is the parent's name.
  void SetName(const std::u16string& NewName);
  std::int16_t GetState(std::int16_t Index) const;
  // Always 0.
  std::int16_t SetState(std::int16_t Index, std::int16_t Value);
  // The condition as a text.
  Halvane_Common_Procedures::Variant GetCondition(std::int16_t Index) const;
  // Stores the value's text form.
  void SetCondition(std::int16_t Index, const Halvane_Common_Procedures::Variant& Value);
  // The value as a 16-bit integer.
  Halvane_Common_Procedures::Variant GetSystem(std::int16_t Index) const;
  void SetSystem(std::int16_t Index, std::int16_t Value);

  // Takes every setting of Profile, the name through SetName and a copy of its schedule;
  // identity, file time and snapshot stay.
  void CopyFrom(const cProfile& Profile);
  // Whether anything with a remembered value differs from it: texts with case, the
  // schedule by its period array text.
  bool HasChangedSinceLastLoadFromDisk() const;
  void RememberOriginalSettings();

  std::int16_t m_DiskIdentity = -1;
  bool m_Enabled = true;
  std::u16string m_ParentName;
  std::int16_t m_NestingLevels = 0;
  bool m_UseTimeSchedule = false;
  std::u16string m_ParallellReceivers;
  std::u16string m_SequentialReceivers;
  std::int16_t m_TimeSchedule_ViewDayType = 0;
  std::int16_t m_Calendar_ViewTimeAxis = 0;
  bool m_UseExternalTag = false;
  std::u16string m_ExternalTagName;
  bool m_IgnoreExternalTagInOtherProfiles = false;
  bool m_UseExternalFile = false;
  std::u16string m_ExternalFileName;
  std::u16string m_ExternalFileText;
  bool m_ScanSpecificSystems = false;
  std::int16_t m_OffDutyAlarmBehaviour = 0;
  std::shared_ptr<cTimeSchedule> m_TimeSchedule;
  Halvane_Common_Procedures::DateTime m_FileDateTimeStamp;
  bool m_HasUpdatedDiskIdentity = false;

  bool m_Original_Enabled = true;
  std::u16string m_Original_ParentName;
  std::int16_t m_Original_NestingLevels = 0;
  bool m_Original_UseTimeSchedule = false;
  std::u16string m_Original_ParallellReceivers;
  std::u16string m_Original_SequentialReceivers;
  std::int16_t m_Original_TimeSchedule_ViewDayType = 0;
  std::int16_t m_Original_Calendar_ViewTimeAxis = 0;
  bool m_Original_UseExternalTag = false;
  std::u16string m_Original_ExternalTagName;
  bool m_Original_IgnoreExternalTagInOtherProfiles = false;
  bool m_Original_UseExternalFile = false;
  std::u16string m_Original_ExternalFileName;
  std::u16string m_Original_ExternalFileText;
  bool m_Original_ScanSpecificSystems = false;
  std::int16_t m_Original_OffDutyAlarmBehaviour = 0;
  std::shared_ptr<cTimeSchedule> m_Original_TimeSchedule;

 private:
  void TakeRecord(const ProfileRecord& record);
  ProfileRecord RecordToSave() const;

  std::u16string m_Name;
  std::array<std::int16_t, kProfileStates> m_State{};
  std::array<std::u16string, kProfileConditions> m_Condition;
  std::array<std::int16_t, kProfileSystems> m_Systems{};

  std::u16string m_Original_Name;
  std::array<std::int16_t, kProfileStates> m_Original_State{};
  std::array<std::u16string, kProfileConditions> m_Original_Condition;
  std::array<std::int16_t, kProfileSystems> m_Original_Systems{};
};

// The profiles a host has loaded, by CollectionKey of their disk identity.
extern KeyedCollection<cProfile> ProfileCollection;

}  // namespace Halvane_Config
