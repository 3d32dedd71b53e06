// The alarm server's record of one alarm event on its way to receivers, and its disk
// record inside a file that its caller has opened.
//
// Disk record (WriteToDisk / ReadFromDisk), items back to back in the encodings of
// common/BinaryCodec.h, no header, no padding:
//
//    1  date-time  m_TimeStampFromSCADA
//    2  date-time  m_TimeStampFromPC
//    3  int32      m_EventId
//    4  int16      m_Status
//    5  6 x text   conditions 0..5
//   11  text       m_SequenceReceivers
//   12  text       m_SequenceReceiverConfirm
//   13  int16      m_SequenceNumbers
//   14  text       m_ParallellReceivers
//   15  int16      m_ParallellNumbers
//   16  10 x text  reserved: written empty, read and dropped
//
// With every text empty a record is 64 bytes. The other members are not in the record.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/BinaryFile.h"
#include "common/DateTime.h"
#include "common/Variant.h"

namespace Halvane_Config {

class cAlarm {
 public:
  static constexpr int kConditions = 6;

  // Stamps m_TimeStampFromPC with the current local time; everything else is zero, false
  // or empty.
  cAlarm();

  std::int32_t m_EventId = 0;
  Halvane_Common_Procedures::DateTime m_TimeStampFromSCADA;
  Halvane_Common_Procedures::DateTime m_TimeStampFromPC;
  std::int16_t m_Status = 0;
  std::u16string m_ParallellReceivers;
  std::int16_t m_ParallellNumbers = 0;
  std::int32_t m_System = 0;
  std::u16string m_SequenceReceivers;
  std::u16string m_SequenceReceiverConfirm;
  std::int16_t m_SequenceNumbers = 0;
  bool m_WaitingForConfirmation = false;
  Halvane_Common_Procedures::DateTime m_TimeToContinue;
  Halvane_Common_Procedures::DateTime m_TimeToSend;
  std::int16_t m_NextSequenceReceiver = 0;
  std::u16string m_ExpectConfirmationFrom;
  std::int32_t m_RepeatCount = 0;
  bool m_TriedToSendAtLeastOnce = false;
  bool m_ShouldNotBeRepeatedAnyMore = false;
  std::int16_t m_SimulationBehaviour = 0;

  // Takes the event's identity, time stamps, state, receivers, system, confirmation wait,
  // conditions and simulation behaviour; m_TimeToSend, m_ExpectConfirmationFrom and the
  // repetition bookkeeping stay.
  void CopyFromOtherObject(const cAlarm& CopyObject);
  // The low 16 bits of m_EventId as four upper-case hexadecimal digits ("000A").
  std::u16string ViewEventIdAsHex() const;
  // Condition numbers outside 0..5 raise error 9 and change nothing. SetCondition stores
  // the value's text form.
  void SetCondition(std::int16_t ConditionNumber,
                    const Halvane_Common_Procedures::Variant& NewCondition);
  const std::u16string& GetCondition(std::int16_t ConditionNumber) const;

  // The disk record at the file's current position (Location below 1) or at Location, in
  // the file's unit counted from 1. The file's errors reach the caller: a record that runs
  // past the file's end raises error 62 and leaves every member as it was. Records are
  // read from files opened for binary access (error 54 for random access).
  void WriteToDisk(Halvane_Common_Procedures::BinaryFile& FileNumber, std::int32_t Location) const;
  void ReadFromDisk(Halvane_Common_Procedures::BinaryFile& FileNumber, std::int32_t Location);

 private:
  std::array<std::u16string, kConditions> m_Condition;
};

}  // namespace Halvane_Config
