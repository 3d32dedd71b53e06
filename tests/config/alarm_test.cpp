#include "ConfigFilesFixture.h"

namespace Halvane_Config {
namespace {

using golden::kNoon;

// An alarm with every item of the record set, as golden::SampleAlarmRecord holds it.
cAlarm Sample() {
  cAlarm alarm;
  alarm.m_TimeStampFromSCADA = {46364.25};
  alarm.m_TimeStampFromPC = {46364.5};
  alarm.m_EventId = 74565;
  alarm.m_Status = 3;
  for (std::int16_t i = 0; i < 6; ++i)
    alarm.SetCondition(i, u"c" + hcp::Utf8ToUtf16(std::to_string(i)));
  alarm.m_SequenceReceivers = u"Anna;Bert";
  alarm.m_SequenceReceiverConfirm = u"-1;0";
  alarm.m_SequenceNumbers = 2;
  alarm.m_ParallellReceivers = u"Carl";
  alarm.m_ParallellNumbers = 1;
  return alarm;
}

// The members outside the record, set apart from a new alarm's.
void SetOutsideMembers(cAlarm& alarm) {
  alarm.m_System = 18;
  alarm.m_WaitingForConfirmation = true;
  alarm.m_TimeToContinue = {1};
  alarm.m_TimeToSend = {2};
  alarm.m_NextSequenceReceiver = 3;
  alarm.m_ExpectConfirmationFrom = u"Anna";
  alarm.m_RepeatCount = 4;
  alarm.m_TriedToSendAtLeastOnce = true;
  alarm.m_ShouldNotBeRepeatedAnyMore = true;
  alarm.m_SimulationBehaviour = 5;
}

std::string Record(const cAlarm& alarm) {
  std::string record;
  for (const double day : {alarm.m_TimeStampFromSCADA.days, alarm.m_TimeStampFromPC.days})
    record += std::to_string(day) + "|";
  record += std::to_string(alarm.m_EventId) + "|" + std::to_string(alarm.m_Status) + "|";
  for (std::int16_t i = 0; i < 6; ++i)
    record += hcp::Utf16ToUtf8(alarm.GetCondition(i)) + "|";
  return record +
         hcp::Utf16ToUtf8(alarm.m_SequenceReceivers + u"|" + alarm.m_SequenceReceiverConfirm +
                          u"|" + alarm.m_ParallellReceivers) +
         "|" + std::to_string(alarm.m_SequenceNumbers) + "|" +
         std::to_string(alarm.m_ParallellNumbers);
}

std::string Outside(const cAlarm& alarm) {
  return std::to_string(alarm.m_System) + std::to_string(alarm.m_WaitingForConfirmation) +
         std::to_string(alarm.m_TimeToContinue.days) + std::to_string(alarm.m_TimeToSend.days) +
         std::to_string(alarm.m_NextSequenceReceiver) +
         hcp::Utf16ToUtf8(alarm.m_ExpectConfirmationFrom) + std::to_string(alarm.m_RepeatCount) +
         std::to_string(alarm.m_TriedToSendAtLeastOnce) +
         std::to_string(alarm.m_ShouldNotBeRepeatedAnyMore) +
         std::to_string(alarm.m_SimulationBehaviour);
}

class AlarmTest : public ConfigFilesTest {
 protected:
  hcp::BinaryFile Open(std::string_view relative, hcp::FileMode mode = hcp::FileMode::Binary,
                       std::int32_t recordLength = 0) {
    return hcp::BinaryFile(hcp::Utf8ToUtf16(PathOf(relative)), mode, hcp::FileAccess::ReadWrite,
                           recordLength);
  }
};

TEST_F(AlarmTest, ANewAlarmWrites64BytesWithItsCreationTime) {
  const cAlarm alarm;
  EXPECT_EQ(alarm.ViewEventIdAsHex(), u"0000");
  EXPECT_EQ(alarm.m_TimeToSend.days, 0);
  EXPECT_EQ(alarm.m_SimulationBehaviour, 0);
  {
    hcp::BinaryFile file = Open("alarms.dat");
    alarm.WriteToDisk(file, 0);
  }
  EXPECT_EQ(folder.Read("alarms.dat"), golden::NewAlarmRecord(kNoon));
  EXPECT_EQ(golden::NewAlarmRecord(kNoon).size(), 64u);
}

TEST_F(AlarmTest, TheEventIdShowsAsItsLow16BitsInHex) {
  cAlarm alarm;
  for (const auto& [id, hex] : {std::pair{10, u"000A"}, std::pair{74565, u"2345"},
                                std::pair{-1, u"FFFF"}, std::pair{0x7FFFFFFF, u"FFFF"}}) {
    alarm.m_EventId = id;
    EXPECT_EQ(alarm.ViewEventIdAsHex(), hex);
  }
}

TEST_F(AlarmTest, RecordsGoWhereTheLocationSaysAndComeBackWithoutTheOtherMembers) {
  const cAlarm sample = Sample();
  const std::string golden = golden::SampleAlarmRecord();
  {
    hcp::BinaryFile file = Open("alarms.dat");
    sample.WriteToDisk(file, 11);   // after ten bytes
    cAlarm().WriteToDisk(file, 0);  // right after it
  }
  EXPECT_EQ(folder.Read("alarms.dat"),
            std::string(10, '\0') + golden + golden::NewAlarmRecord(kNoon));

  hcp::BinaryFile file = Open("alarms.dat");
  cAlarm read;
  SetOutsideMembers(read);
  const std::string outside = Outside(read);
  read.ReadFromDisk(file, 11);
  EXPECT_EQ(Record(read), Record(sample));
  EXPECT_EQ(Outside(read), outside);
  read.ReadFromDisk(file, 0);
  EXPECT_EQ(Record(read), Record(cAlarm()));
  EXPECT_EQ(ErrorNumberOf([&] { read.ReadFromDisk(file, 0); }), hcp::kInputPastEndOfFile);
}

TEST_F(AlarmTest, EveryTruncatedRecordRaises62AndChangesNothing) {
  const std::string golden = golden::SampleAlarmRecord();
  for (std::size_t length = 0; length < golden.size(); ++length) {
    folder.Write("alarms.dat", golden.substr(0, length));
    hcp::BinaryFile file = Open("alarms.dat");
    cAlarm alarm;
    const std::string before = Record(alarm);
    ASSERT_EQ(ErrorNumberOf([&] { alarm.ReadFromDisk(file, 1); }), hcp::kInputPastEndOfFile);
    ASSERT_EQ(Record(alarm), before);
  }
}

TEST_F(AlarmTest, RandomAccessFilesTakeARecordPerPositionAndAreNotDecoded) {
  {
    hcp::BinaryFile file = Open("fixed.dat", hcp::FileMode::Random, 100);
    Sample().WriteToDisk(file, 2);
    EXPECT_EQ(ErrorNumberOf([&] { cAlarm().ReadFromDisk(file, 2); }), hcp::kBadFileMode);
    EXPECT_EQ(ErrorNumberOf([&] {
                cAlarm long_;
                long_.m_ParallellReceivers = std::u16string(100, u'x');
                long_.WriteToDisk(file, 1);
              }),
              hcp::kBadRecordLength);
  }
  EXPECT_EQ(folder.Read("fixed.dat"), std::string(100, '\0') + golden::SampleAlarmRecord());
}

TEST_F(AlarmTest, CopyFromOtherObjectLeavesTheSendingBookkeeping) {
  cAlarm source = Sample();
  SetOutsideMembers(source);
  cAlarm target;
  target.m_TimeToSend = {9};
  target.m_ExpectConfirmationFrom = u"Kept";
  target.m_RepeatCount = 9;
  target.m_TriedToSendAtLeastOnce = false;
  target.m_ShouldNotBeRepeatedAnyMore = false;
  target.CopyFromOtherObject(source);
  EXPECT_EQ(Record(target), Record(source));
  EXPECT_EQ(target.m_System, 18);
  EXPECT_TRUE(target.m_WaitingForConfirmation);
  EXPECT_EQ(target.m_TimeToContinue.days, 1);
  EXPECT_EQ(target.m_NextSequenceReceiver, 3);
  EXPECT_EQ(target.m_SimulationBehaviour, 5);
  EXPECT_EQ(target.m_TimeToSend.days, 9);
  EXPECT_EQ(target.m_ExpectConfirmationFrom, u"Kept");
  EXPECT_EQ(target.m_RepeatCount, 9);
  EXPECT_FALSE(target.m_TriedToSendAtLeastOnce);
  EXPECT_FALSE(target.m_ShouldNotBeRepeatedAnyMore);
}

TEST_F(AlarmTest, ConditionsTakeTextFormsAndRefuseNumbersOutside0To5) {
  cAlarm alarm;
  alarm.SetCondition(5, 2.5);
  EXPECT_EQ(alarm.GetCondition(5), u"2.5");
  EXPECT_EQ(ErrorNumberOf([&] { alarm.SetCondition(6, u"x"); }), hcp::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorNumberOf([&] { alarm.GetCondition(-1); }), hcp::kSubscriptOutOfRange);
}

}  // namespace
}  // namespace Halvane_Config
