// The receiver file, "Receivers/Receiver_NNNN.dat": a 16-bit version number, then one
// record of that version, in the encodings of common/BinaryCodec.h (little-endian, flags
// -1 / 0, texts with a 16-bit length and Windows-1252 bytes, variants with their type
// code). Bytes after the record are not read.
//
//   version 5 (written)            version 4 (read)          version 3 (read)
//   int16     disk identity        as version 5 up to and    int16     not used
//   flag      enabled              including the backup      int16     receiver type id
//   int16     receiver type id     receiver, then            text      receiver name
//   text      receiver name        4 x text  not used        4 x variant settings 0..3
//   4 x variant settings 0..3
//   10 bytes  reserved (zero)
//   text      backup receiver
//   date-time time of writing
//   2048 bytes reserved (zero)
//
// An empty receiver of version 5 is 2 + 2,084 = 2,086 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/BinaryCodec.h"
#include "common/Variant.h"

namespace Halvane_Config {

inline constexpr int kReceiverSettings = 4;

enum class ReceiverFileVersion : std::int16_t { V3 = 3, V4 = 4, V5 = 5 };

// One record as read or to be written. What a version does not store keeps the value
// given here: a version-3 receiver is enabled and has no backup receiver.
struct ReceiverRecord {
  ReceiverFileVersion version = ReceiverFileVersion::V5;
  std::int16_t diskIdentity = -1;
  bool enabled = true;
  std::int16_t receiverTypeId = -1;
  std::u16string receiverName;
  std::array<Halvane_Common_Procedures::Variant, kReceiverSettings> settings;
  std::u16string backupReceiver;
  Halvane_Common_Procedures::DateTime timeOfWriting;
};

// Whether a receiver file of this version number can be read.
bool IsReceiverFileVersion(std::int16_t version);

// Reads the record of a version that IsReceiverFileVersion accepts, after its version
// number. Data that ends early raises error 62, an unknown variant type error 321.
ReceiverRecord GetReceiverRecord(Halvane_Common_Procedures::ByteInput& in,
                                 ReceiverFileVersion version);

// A whole version-5 file: version number and record. A text longer than 65,535
// characters raises error 6, an object setting error 13.
std::string ReceiverFileBytes(const ReceiverRecord& record);

}  // namespace Halvane_Config
