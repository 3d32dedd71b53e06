#include "config/cAlarm.h"

#include "common/BinaryCodec.h"
#include "common/RuntimeError.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

namespace {

constexpr int kReservedTexts = 10;

void CheckConditionNumber(std::int16_t number) {
  if (number < 0 || number >= cAlarm::kConditions) {
    throw hcp::RuntimeError(hcp::kSubscriptOutOfRange);
  }
}

}  // namespace

cAlarm::cAlarm() : m_TimeStampFromPC(hcp::Now()) {}

void cAlarm::CopyFromOtherObject(const cAlarm& CopyObject) {
  m_EventId = CopyObject.m_EventId;
  m_TimeStampFromSCADA = CopyObject.m_TimeStampFromSCADA;
  m_TimeStampFromPC = CopyObject.m_TimeStampFromPC;
  m_Status = CopyObject.m_Status;
  m_ParallellReceivers = CopyObject.m_ParallellReceivers;
  m_ParallellNumbers = CopyObject.m_ParallellNumbers;
  m_System = CopyObject.m_System;
  m_SequenceReceivers = CopyObject.m_SequenceReceivers;
  m_SequenceNumbers = CopyObject.m_SequenceNumbers;
  m_SequenceReceiverConfirm = CopyObject.m_SequenceReceiverConfirm;
  m_WaitingForConfirmation = CopyObject.m_WaitingForConfirmation;
  m_TimeToContinue = CopyObject.m_TimeToContinue;
  m_NextSequenceReceiver = CopyObject.m_NextSequenceReceiver;
  for (std::int16_t i = 0; i < kConditions; ++i)
    m_Condition[i] = CopyObject.GetCondition(i);
  m_SimulationBehaviour = CopyObject.m_SimulationBehaviour;
}

std::u16string cAlarm::ViewEventIdAsHex() const {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  const auto low = static_cast<std::uint16_t>(m_EventId);
  std::u16string hex;
  for (int shift = 12; shift >= 0; shift -= 4)
    hex += kDigits[(low >> shift) & 0xF];
  return hex;
}

void cAlarm::SetCondition(std::int16_t ConditionNumber, const hcp::Variant& NewCondition) {
  CheckConditionNumber(ConditionNumber);
  m_Condition[ConditionNumber] = hcp::ToText(NewCondition);
}

const std::u16string& cAlarm::GetCondition(std::int16_t ConditionNumber) const {
  CheckConditionNumber(ConditionNumber);
  return m_Condition[ConditionNumber];
}

void cAlarm::WriteToDisk(hcp::BinaryFile& FileNumber, std::int32_t Location) const {
  std::string record;
  hcp::PutDateTime(record, m_TimeStampFromSCADA);
  hcp::PutDateTime(record, m_TimeStampFromPC);
  hcp::PutInt32(record, m_EventId);
  hcp::PutInt16(record, m_Status);
  for (const std::u16string& condition : m_Condition)
    hcp::PutText(record, condition);
  hcp::PutText(record, m_SequenceReceivers);
  hcp::PutText(record, m_SequenceReceiverConfirm);
  hcp::PutInt16(record, m_SequenceNumbers);
  hcp::PutText(record, m_ParallellReceivers);
  hcp::PutInt16(record, m_ParallellNumbers);
  for (int i = 0; i < kReservedTexts; ++i)
    hcp::PutText(record, u"");
  if (Location < 1) {
    FileNumber.Put(record);
  } else {
    FileNumber.PutAt(Location, record);
  }
}

void cAlarm::ReadFromDisk(hcp::BinaryFile& FileNumber, std::int32_t Location) {
  if (Location >= 1) FileNumber.Seek(Location);
  // Into a copy first, so that a record cut short changes nothing.
  cAlarm read(*this);
  read.m_TimeStampFromSCADA = hcp::GetDateTime(FileNumber);
  read.m_TimeStampFromPC = hcp::GetDateTime(FileNumber);
  read.m_EventId = hcp::GetInt32(FileNumber);
  read.m_Status = hcp::GetInt16(FileNumber);
  for (std::u16string& condition : read.m_Condition)
    condition = hcp::GetText(FileNumber);
  read.m_SequenceReceivers = hcp::GetText(FileNumber);
  read.m_SequenceReceiverConfirm = hcp::GetText(FileNumber);
  read.m_SequenceNumbers = hcp::GetInt16(FileNumber);
  read.m_ParallellReceivers = hcp::GetText(FileNumber);
  read.m_ParallellNumbers = hcp::GetInt16(FileNumber);
  for (int i = 0; i < kReservedTexts; ++i)
    hcp::GetText(FileNumber);
  *this = std::move(read);
}

}  // namespace Halvane_Config
