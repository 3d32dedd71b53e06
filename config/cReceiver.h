// A receiver: one addressee of alarm messages, stored in a file of its own,
// "Receivers/Receiver_NNNN.dat" below the program folder, NNNN being its disk identity
// (1..9991; the file format is in config/ReceiverFile.h).
//
// Loading, saving and removing never raise: a failing step is recorded and the method
// goes on, reports False and writes a line with the failure to LogMessage. Everything
// else raises RuntimeError to the caller (error 9 for a setting index outside 0..3).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/DateTime.h"
#include "common/Variant.h"
#include "config/KeyedCollection.h"
#include "config/ReceiverFile.h"

namespace Halvane_Config {

class SaveBatch;

class cReceiver {
 public:
  // The file of a disk identity: ProgramFolder, "Receivers/Receiver_", the identity's last
  // four digits, ".dat".
  static std::u16string CreateFileName(std::int16_t DiskIdentity);

  // Reads the receiver's file. False for a missing file or one shorter than 2 bytes
  // (nothing logged, m_DiskIdentity kept), for a version other than 3..5 (logged) and for
  // a file that cannot be read (logged); in these cases the other members keep their
  // values. A missing file is not created. Versions 3 and 4 are logged and rewritten as
  // version 5 at once. Sets m_DiskIdentity to DiskIdentity once the version was read, and
  // always takes the snapshot HasChangedSinceLastLoadFromDisk compares with.
  bool LoadFromDisk(std::int16_t DiskIdentity);
  // Writes the receiver as version 5. A receiver without an identity first gets a free
  // one (m_HasUpdatedDiskIdentity tells). The old file is replaced only by a complete new
  // one: a failed save leaves it as it was. True when saved; then the snapshot is taken.
  bool SaveToDisk();
  // The same save staged in a batch with others (see SaveBatch): the result is its number
  // there, and the batch's Commit finishes it. The receiver must not change until then.
  std::size_t SaveToDisk(SaveBatch& Batch);
  // Deletes the file of DiskIdentity, logs the outcome and takes the receiver of that key
  // out of ReceiverCollection. Always True.
  bool RemoveFromDisk(std::int16_t DiskIdentity);

  std::int16_t GetReceiverTypeId() const { return m_ReceiverTypeId; }
  // Sets the type, its name and index from ReceiverTypeCatalogue ("(<text 1088>: 0012)"
  // when the catalogue lacks it), and for the keep-alive types "VRM" and "VRMTCP" with a
  // positive setting 1 stamps m_LastKeepAlive with the current time.
  void SetReceiverTypeId(std::int16_t TypeId);
  Halvane_Common_Procedures::Variant GetSetting(std::int16_t Index) const;
  void SaveSetting(std::int16_t Index, const Halvane_Common_Procedures::Variant& NewValue);

  // Takes type (through SetReceiverTypeId, which sees this receiver's own setting 1),
  // name, enabled, backup receiver, keep-alive time and settings from Receiver; identity,
  // file time, state and snapshot stay.
  void CopyFrom(const cReceiver& Receiver);
  // Whether name, backup receiver (case counts), type, enabled or a setting
  // (SettingsEqual) differs from the snapshot of the last load or save.
  bool HasChangedSinceLastLoadFromDisk() const;

  std::int16_t m_DiskIdentity = -1;
  bool m_Enabled = true;
  std::int16_t m_ReceiverTypeIndex = -1;
  std::u16string m_ReceiverTypeName;
  std::u16string m_ReceiverName;
  std::u16string m_BackupReceiver;
  Halvane_Common_Procedures::DateTime m_FileDateTimeStamp;
  // Run-time state of the server; never stored.
  bool m_SendingFailed = false;
  Halvane_Common_Procedures::DateTime m_LastKeepAlive;
  bool m_HasUpdatedDiskIdentity = false;

 private:
  void RememberOriginalSettings();
  void TakeRecord(const ReceiverRecord& record);
  ReceiverRecord RecordToSave() const;

  std::int16_t m_ReceiverTypeId = -1;
  std::array<Halvane_Common_Procedures::Variant, kReceiverSettings> m_Setting;

  bool m_Original_Enabled = true;
  std::int16_t m_Original_ReceiverTypeId = -1;
  std::u16string m_Original_ReceiverName;
  std::u16string m_Original_BackupReceiver;
  std::array<Halvane_Common_Procedures::Variant, kReceiverSettings> m_Original_Setting;
};

// The receivers a host has loaded, by CollectionKey of their disk identity.
extern KeyedCollection<cReceiver> ReceiverCollection;

}  // namespace Halvane_Config
