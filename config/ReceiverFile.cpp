#include "config/ReceiverFile.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

namespace {

constexpr std::size_t kReservedAfterSettings = 10;
constexpr std::size_t kReservedAtEnd = 2048;
constexpr int kVersion4UnusedTexts = 4;

}  // namespace

bool IsReceiverFileVersion(std::int16_t version) {
  return version >= static_cast<std::int16_t>(ReceiverFileVersion::V3) &&
         version <= static_cast<std::int16_t>(ReceiverFileVersion::V5);
}

ReceiverRecord GetReceiverRecord(hcp::ByteInput& in, ReceiverFileVersion version) {
  ReceiverRecord record;
  record.version = version;
  if (version == ReceiverFileVersion::V3) {
    hcp::GetInt16(in);
  } else {
    record.diskIdentity = hcp::GetInt16(in);
    record.enabled = hcp::GetFlag(in);
  }
  record.receiverTypeId = hcp::GetInt16(in);
  record.receiverName = hcp::GetText(in);
  for (hcp::Variant& setting : record.settings)
    setting = hcp::GetVariant(in);
  if (version == ReceiverFileVersion::V3) return record;

  in.Skip(kReservedAfterSettings);
  record.backupReceiver = hcp::GetText(in);
  if (version == ReceiverFileVersion::V4) {
    for (int i = 0; i < kVersion4UnusedTexts; ++i)
      hcp::GetText(in);
  } else {
    record.timeOfWriting = hcp::GetDateTime(in);
    in.Skip(kReservedAtEnd);
  }
  return record;
}

std::string ReceiverFileBytes(const ReceiverRecord& record) {
  std::string bytes;
  hcp::PutInt16(bytes, static_cast<std::int16_t>(ReceiverFileVersion::V5));
  hcp::PutInt16(bytes, record.diskIdentity);
  hcp::PutFlag(bytes, record.enabled);
  hcp::PutInt16(bytes, record.receiverTypeId);
  hcp::PutText(bytes, record.receiverName);
  for (const hcp::Variant& setting : record.settings)
    hcp::PutVariant(bytes, setting);
  hcp::PutZeros(bytes, kReservedAfterSettings);
  hcp::PutText(bytes, record.backupReceiver);
  hcp::PutDateTime(bytes, record.timeOfWriting);
  hcp::PutZeros(bytes, kReservedAtEnd);
  return bytes;
}

}  // namespace Halvane_Config
