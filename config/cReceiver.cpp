#include "config/cReceiver.h"

#include <algorithm>

#include "common/Halvane_Common_Procedures.h"
#include "config/DiskFiles.h"
#include "config/HostProgramData.h"
#include "config/UpperCase.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

KeyedCollection<cReceiver> ReceiverCollection;

namespace {

constexpr VersionedFileKind kFiles{
    .files = {u"Receivers/", u"Receiver_"},
    .isKnownVersion = IsReceiverFileVersion,
    .unknownVersionText = 804,
    .upgradedText = 888,
    .loadFailedText = 978,
    .saveFailedText = 979,
};
// Numbers of the texts of the other log lines and of the type name.
constexpr std::int32_t kRemovedText = 976;
constexpr std::int32_t kRemoveFailedText = 977;
constexpr std::int32_t kReceiverTypeText = 1088;

void CheckSettingIndex(std::int16_t index) {
  if (index < 0 || index >= kReceiverSettings) throw hcp::RuntimeError(hcp::kSubscriptOutOfRange);
}

// Whether a setting holds a number above 0, read as the family's programs read one: a
// number, a Boolean or a text that spells a number (dates do not count).
bool IsPositiveNumber(const hcp::Variant& value) {
  if (!(value.IsNumeric() || value.IsText()) || value.Holds<hcp::DateTime>()) return false;
  try {
    return hcp::ToDouble(value) > 0;
  } catch (const hcp::RuntimeError&) {
    return false;
  }
}

bool IsKeepAliveType(const ReceiverTypeEntry& type) {
  const std::u16string code = UpperCase(type.systemCode);
  return code == u"VRMTCP" || code == u"VRM";
}

}  // namespace

std::u16string cReceiver::CreateFileName(std::int16_t DiskIdentity) {
  return kFiles.files.FileName(DiskIdentity);
}

bool cReceiver::LoadFromDisk(std::int16_t DiskIdentity) {
  const LoadOutcome outcome =
      LoadVersionedFile(kFiles, DiskIdentity, [this](hcp::ByteInput& in, std::int16_t version) {
        TakeRecord(GetReceiverRecord(in, ReceiverFileVersion{version}));
      });
  // The identity asked for wins over the one stored in the file.
  if (outcome.versionRead) m_DiskIdentity = DiskIdentity;
  if (outcome.upgraded) SaveToDisk();
  RememberOriginalSettings();
  return outcome.loaded;
}

void cReceiver::TakeRecord(const ReceiverRecord& record) {
  m_Enabled = record.enabled;
  // Before the settings: the keep-alive test sees this receiver's setting 1 as it was.
  SetReceiverTypeId(record.receiverTypeId);
  m_ReceiverName = record.receiverName;
  m_Setting = record.settings;
  m_BackupReceiver = record.backupReceiver;
  if (record.version == ReceiverFileVersion::V5) m_FileDateTimeStamp = record.timeOfWriting;
}

bool cReceiver::SaveToDisk() {
  return SaveAlone([this](SaveBatch& batch) { return SaveToDisk(batch); });
}

std::size_t cReceiver::SaveToDisk(SaveBatch& Batch) {
  return Batch.Add(
      kFiles, m_DiskIdentity, m_HasUpdatedDiskIdentity,
      [this] { return ReceiverFileBytes(RecordToSave()); }, [this] { RememberOriginalSettings(); });
}

ReceiverRecord cReceiver::RecordToSave() const {
  ReceiverRecord record;
  record.diskIdentity = m_DiskIdentity;
  record.enabled = m_Enabled;
  record.receiverTypeId = m_ReceiverTypeId;
  record.receiverName = m_ReceiverName;
  record.settings = m_Setting;
  record.backupReceiver = m_BackupReceiver;
  record.timeOfWriting = hcp::Now();
  return record;
}

bool cReceiver::RemoveFromDisk(std::int16_t DiskIdentity) {
  const std::u16string path = CreateFileName(DiskIdentity);
  StepFailures failures;
  if (failures.Run([&] { DeleteFile(path); })) {
    hcp::LogMessage(hcp::GetTextByNumber(kRemovedText) + u" '" + m_ReceiverName + u"' " + path);
  } else {
    hcp::LogMessage(hcp::GetTextByNumber(kRemoveFailedText) + u" '" + m_ReceiverName + u"' " +
                    path + u" Err:" + failures.Description());
  }
  const std::u16string key = CollectionKey(DiskIdentity);
  if (ReceiverCollection.Contains(key)) ReceiverCollection.Remove(key);
  return true;
}

void cReceiver::SetReceiverTypeId(std::int16_t TypeId) {
  m_ReceiverTypeId = TypeId;
  m_ReceiverTypeIndex = -1;
  m_ReceiverTypeName = u"(";
  m_ReceiverTypeName +=
      hcp::GetTextByNumber(kReceiverTypeText) + u": " + LastFourDigits(TypeId) + u")";
  const int count = std::clamp<int>(ReceiverTypeCount, 0, kMaxReceiverTypes);
  for (int i = 0; i < count; ++i) {
    const ReceiverTypeEntry& type = ReceiverTypeCatalogue[i];
    if (type.typeId != TypeId) continue;
    m_ReceiverTypeIndex = static_cast<std::int16_t>(i);
    m_ReceiverTypeName = type.displayName;
    if (IsKeepAliveType(type) && IsPositiveNumber(m_Setting[1])) m_LastKeepAlive = hcp::Now();
    return;
  }
}

hcp::Variant cReceiver::GetSetting(std::int16_t Index) const {
  CheckSettingIndex(Index);
  return m_Setting[Index];
}

void cReceiver::SaveSetting(std::int16_t Index, const hcp::Variant& NewValue) {
  CheckSettingIndex(Index);
  m_Setting[Index] = NewValue;
}

void cReceiver::CopyFrom(const cReceiver& Receiver) {
  SetReceiverTypeId(Receiver.GetReceiverTypeId());
  m_ReceiverName = Receiver.m_ReceiverName;
  m_Enabled = Receiver.m_Enabled;
  m_BackupReceiver = Receiver.m_BackupReceiver;
  m_LastKeepAlive = Receiver.m_LastKeepAlive;
  for (std::int16_t i = 0; i < kReceiverSettings; ++i)
    m_Setting[i] = Receiver.GetSetting(i);
}

void cReceiver::RememberOriginalSettings() {
  m_Original_ReceiverTypeId = m_ReceiverTypeId;
  m_Original_ReceiverName = m_ReceiverName;
  m_Original_Enabled = m_Enabled;
  m_Original_BackupReceiver = m_BackupReceiver;
  m_Original_Setting = m_Setting;
}

bool cReceiver::HasChangedSinceLastLoadFromDisk() const {
  if (m_ReceiverName != m_Original_ReceiverName || m_BackupReceiver != m_Original_BackupReceiver ||
      m_ReceiverTypeId != m_Original_ReceiverTypeId || m_Enabled != m_Original_Enabled) {
    return true;
  }
  for (int i = 0; i < kReceiverSettings; ++i) {
    if (!hcp::SettingsEqual(m_Setting[i], m_Original_Setting[i])) return true;
  }
  return false;
}

}  // namespace Halvane_Config
