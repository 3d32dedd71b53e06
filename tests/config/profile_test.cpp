#include <functional>

#include "ConfigFilesFixture.h"

namespace Halvane_Config {
namespace {

using golden::kNoon;

// Every member a load may touch, to tell that a failed load left them alone.
std::string Describe(const cProfile& p) {
  std::u16string text = p.GetName() + u"|" + p.m_ParentName + u"|" + p.m_ParallellReceivers + u"|" +
                        p.m_SequentialReceivers + u"|" + p.m_ExternalTagName + u"|" +
                        p.m_ExternalFileName + u"|" + p.m_ExternalFileText;
  for (std::int16_t i = 0; i < 6; ++i)
    text += u"|" + p.GetCondition(i).Get<std::u16string>();
  std::string numbers;
  for (const int n :
       {int{p.m_Enabled}, int{p.m_NestingLevels}, int{p.m_UseTimeSchedule},
        int{p.m_TimeSchedule_ViewDayType}, int{p.m_Calendar_ViewTimeAxis}, int{p.m_UseExternalTag},
        int{p.m_IgnoreExternalTagInOtherProfiles}, int{p.m_UseExternalFile},
        int{p.m_ScanSpecificSystems}, int{p.m_OffDutyAlarmBehaviour}, int{p.GetState(0)},
        int{p.GetState(1)}, int{p.GetState(2)}})
    numbers += std::to_string(n) + ",";
  for (std::int16_t i = 0; i < 64; ++i)
    numbers += std::to_string(p.GetSystem(i).Get<std::int16_t>()) + ",";
  return hcp::Utf16ToUtf8(text) + "|" + numbers + "|" + std::to_string(p.m_FileDateTimeStamp.days) +
         "|" +
         (p.m_TimeSchedule ? hcp::Utf16ToUtf8(p.m_TimeSchedule->ComposePeriodArray()) : "none");
}

using ProfileTest = ConfigFilesTest;

TEST_F(ProfileTest, FileNamesCarryTheLastFourDigitsOfTheIdentity) {
  EXPECT_EQ(Utf8(cProfile::CreateFileName(311)), PathOf("Profiles/Profile_0311.dat"));
}

TEST_F(ProfileTest, ANewProfileWithANewScheduleSavesTheEmptyFile) {
  cProfile profile;
  profile.m_TimeSchedule = std::make_shared<cTimeSchedule>();
  ASSERT_TRUE(profile.SaveToDisk());
  EXPECT_TRUE(profile.m_HasUpdatedDiskIdentity);
  const std::string path = Utf8(cProfile::CreateFileName(profile.m_DiskIdentity));
  EXPECT_EQ(folder.Read(path.substr(folder.Path().size())), golden::EmptyProfileV5(kNoon));
  EXPECT_EQ(golden::EmptyProfileV5(kNoon).size(), 2426u);
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(ProfileTest, AProfileWithoutAScheduleIsNotSaved) {
  cProfile profile;
  profile.m_DiskIdentity = 8;
  EXPECT_FALSE(profile.SaveToDisk());
  EXPECT_TRUE(folder.Entries("Profiles").empty());
  EXPECT_EQ(log.Lines(), std::vector<std::string>{
                             "*** Invalid Text (980) " + PathOf("Profiles/Profile_0008.dat") +
                             " Err:Object variable or With block variable not set"});
}

TEST_F(ProfileTest, AVersion5FileLoadsEveryStoredMemberAndTheSchedule) {
  folder.Write("Profiles/Profile_0311.dat", golden::SampleProfile(5, 2, 46000.75));
  cProfile profile;
  ASSERT_TRUE(profile.LoadFromDisk(311));
  EXPECT_EQ(profile.m_DiskIdentity, 311);
  EXPECT_EQ(profile.GetName(), u"Night");
  EXPECT_EQ(profile.GetState(2), 3);
  EXPECT_TRUE(profile.m_UseTimeSchedule);
  EXPECT_EQ(profile.m_ParallellReceivers, u"Anna;Bert");
  EXPECT_EQ(profile.m_SequentialReceivers, u"Carl");
  EXPECT_EQ(profile.GetCondition(5), hcp::Variant(u"c5\u00e9"));
  EXPECT_EQ(profile.m_TimeSchedule_ViewDayType, 3);
  EXPECT_EQ(profile.m_Calendar_ViewTimeAxis, 1);
  EXPECT_TRUE(profile.m_UseExternalTag);
  EXPECT_EQ(profile.m_ExternalTagName, u"Tag.1");
  EXPECT_FALSE(profile.m_IgnoreExternalTagInOtherProfiles);
  EXPECT_EQ(profile.m_ExternalFileName, u"C:\\x.txt");
  EXPECT_EQ(profile.m_ExternalFileText, u"ON");
  EXPECT_TRUE(profile.m_ScanSpecificSystems);
  EXPECT_EQ(profile.GetSystem(18), hcp::Variant(std::int16_t{1}));
  EXPECT_EQ(profile.m_OffDutyAlarmBehaviour, 2);
  EXPECT_EQ(profile.m_FileDateTimeStamp.days, 46000.75);
  std::string schedule;
  profile.m_TimeSchedule->PutDiskForm(schedule);
  EXPECT_EQ(schedule, golden::SampleSchedule());
  EXPECT_FALSE(profile.HasChangedSinceLastLoadFromDisk());
  EXPECT_TRUE(log.Lines().empty());

  profile.m_FileDateTimeStamp = {1};
  EXPECT_FALSE(profile.HasChangedSinceLastLoadFromDisk());
  profile.m_TimeSchedule->AddPeriod(6, 0, 60);
  EXPECT_TRUE(profile.HasChangedSinceLastLoadFromDisk());
}

TEST_F(ProfileTest, AVersion4FileIsUpgradedWithTheOffDutyBehaviourMovedToField21) {
  folder.Write("Profiles/Profile_0004.dat", golden::SampleProfile(4, 2, 0));
  cProfile profile;
  ASSERT_TRUE(profile.LoadFromDisk(4));
  EXPECT_EQ(profile.m_OffDutyAlarmBehaviour, 2);
  EXPECT_EQ(folder.Read("Profiles/Profile_0004.dat"), golden::SampleProfile(5, 2, kNoon));
  EXPECT_EQ(log.Lines(),
            std::vector<std::string>{"*** Invalid Text (930) '" +
                                     PathOf("Profiles/Profile_0004.dat") + "' (version 4 -> 5)"});
  EXPECT_FALSE(profile.HasChangedSinceLastLoadFromDisk());
}

TEST_F(ProfileTest, MinutesOutsideTheDayLoadWithOneWarningAndSaveBackUnchanged) {
  cTimeSchedule schedule;
  schedule.AddPeriod(0, -5, 2000);
  schedule.AddPeriod(0, 1000, 500);
  schedule.AddPeriod(1, 32767, -32768);
  std::string scheduleBytes;
  schedule.PutDiskForm(scheduleBytes);
  const auto withSchedule = [&](double timeOfWriting) {
    const std::string empty = golden::EmptyProfileV5(timeOfWriting);
    return empty.substr(0, empty.size() - 186) + scheduleBytes;
  };
  folder.Write("Profiles/Profile_0012.dat", withSchedule(46000.75));

  cProfile profile;
  ASSERT_TRUE(profile.LoadFromDisk(12));
  EXPECT_EQ(profile.m_TimeSchedule->ComposePeriodArray(), schedule.ComposePeriodArray());
  EXPECT_EQ(log.Lines(), std::vector<std::string>{
                             "Time schedule with minutes outside 00:00-24:00, kept as stored: '" +
                             PathOf("Profiles/Profile_0012.dat") + "' (day type 0, day type 1)"});
  ASSERT_TRUE(profile.SaveToDisk());
  EXPECT_EQ(folder.Read("Profiles/Profile_0012.dat"), withSchedule(kNoon));
}

TEST_F(ProfileTest, AnUnknownVersionAMissingAndAShortFileLoadNothing) {
  const std::string bytes = Hex("0300") + golden::EmptyProfileV5(kNoon).substr(2);
  folder.Write("Profiles/Profile_0003.dat", bytes);
  folder.Write("Profiles/Profile_0001.dat", "");
  cProfile profile;
  EXPECT_FALSE(profile.LoadFromDisk(3));
  EXPECT_EQ(profile.m_DiskIdentity, 3);
  EXPECT_FALSE(profile.m_TimeSchedule);
  EXPECT_FALSE(profile.LoadFromDisk(2));
  EXPECT_EQ(profile.m_DiskIdentity, 2);
  EXPECT_FALSE(profile.LoadFromDisk(1));
  EXPECT_EQ(profile.m_DiskIdentity, 1);
  EXPECT_EQ(folder.Entries("Profiles"),
            (std::vector<std::string>{"Profile_0001.dat", "Profile_0003.dat"}));
  EXPECT_EQ(folder.Read("Profiles/Profile_0003.dat"), bytes);
  EXPECT_EQ(log.Lines(), std::vector<std::string>{"*** Invalid Text (803) '" +
                                                  PathOf("Profiles/Profile_0003.dat") +
                                                  "' (3) *** Invalid Text (805)"});
}

TEST_F(ProfileTest, EveryTruncatedFileIsALoggedFailureThatChangesNothing) {
  for (const std::string& whole :
       {golden::SampleProfile(4, 2, 0), golden::SampleProfile(5, 2, kNoon),
        golden::EmptyProfileV5(kNoon)}) {
    for (std::size_t length = 2; length < whole.size(); ++length) {
      folder.Write("Profiles/Profile_0009.dat", whole.substr(0, length));
      log.Clear();
      cProfile profile;
      profile.SetName(u"Before");
      profile.SetSystem(3, 7);
      profile.m_TimeSchedule = std::make_shared<cTimeSchedule>();
      const auto schedule = profile.m_TimeSchedule;
      const std::string before = Describe(profile);
      ASSERT_FALSE(profile.LoadFromDisk(9)) << length;
      ASSERT_EQ(Describe(profile), before) << length;
      ASSERT_EQ(profile.m_TimeSchedule, schedule);
      ASSERT_EQ(log.Lines(), std::vector<std::string>{"*** Invalid Text (982) " +
                                                      PathOf("Profiles/Profile_0009.dat") +
                                                      " Err:Input past end of file"})
          << length;
    }
  }
}

TEST_F(ProfileTest, NestedNamesGiveTheUpperCaseParentBeforeTheLastAt) {
  cProfile profile;
  profile.SetName(u"a@b\u00e9@c");
  EXPECT_EQ(profile.m_ParentName, u"");
  EXPECT_EQ(profile.m_NestingLevels, 0);
  NestedProfileNames = true;
  profile.SetName(u"a@b\u00e9@c");
  EXPECT_EQ(profile.GetName(), u"a@b\u00e9@c");
  EXPECT_EQ(profile.m_ParentName, u"A@B\u00c9");
  EXPECT_EQ(profile.m_NestingLevels, 2);
  profile.SetName(u"plain");
  EXPECT_EQ(profile.m_ParentName, u"");
  EXPECT_EQ(profile.m_NestingLevels, 0);
}

TEST_F(ProfileTest, EachRememberedMemberCountsAsAChange) {
  folder.Write("Profiles/Profile_0311.dat", golden::SampleProfile(5, 2, kNoon));
  const std::vector<std::pair<const char*, std::function<void(cProfile&)>>> changes = {
      {"enabled", [](cProfile& p) { p.m_Enabled = false; }},
      {"parent", [](cProfile& p) { p.m_ParentName = u"X"; }},
      {"nesting", [](cProfile& p) { p.m_NestingLevels = 1; }},
      {"use schedule", [](cProfile& p) { p.m_UseTimeSchedule = false; }},
      {"parallel", [](cProfile& p) { p.m_ParallellReceivers = u"anna;Bert"; }},
      {"sequential", [](cProfile& p) { p.m_SequentialReceivers = u""; }},
      {"view day type", [](cProfile& p) { p.m_TimeSchedule_ViewDayType = 0; }},
      {"time axis", [](cProfile& p) { p.m_Calendar_ViewTimeAxis = 0; }},
      {"use tag", [](cProfile& p) { p.m_UseExternalTag = false; }},
      {"tag", [](cProfile& p) { p.m_ExternalTagName = u"tag.1"; }},
      {"ignore tag", [](cProfile& p) { p.m_IgnoreExternalTagInOtherProfiles = true; }},
      {"use file", [](cProfile& p) { p.m_UseExternalFile = false; }},
      {"file name", [](cProfile& p) { p.m_ExternalFileName = u"y"; }},
      {"file text", [](cProfile& p) { p.m_ExternalFileText = u"on"; }},
      {"scan", [](cProfile& p) { p.m_ScanSpecificSystems = false; }},
      {"off duty", [](cProfile& p) { p.m_OffDutyAlarmBehaviour = 0; }},
      {"name", [](cProfile& p) { p.SetName(u"night"); }},
      {"state", [](cProfile& p) { p.SetState(1, 0); }},
      {"condition", [](cProfile& p) { p.SetCondition(1, u"x"); }},
      {"system", [](cProfile& p) { p.SetSystem(63, 1); }},
      {"schedule flag", [](cProfile& p) { p.m_TimeSchedule->SetActive(22, true); }},
      {"schedule gone", [](cProfile& p) { p.m_TimeSchedule.reset(); }},
      {"schedule replaced",
       [](cProfile& p) { p.m_TimeSchedule = std::make_shared<cTimeSchedule>(); }},
  };
  for (const auto& [what, change] : changes) {
    cProfile profile;
    ASSERT_TRUE(profile.LoadFromDisk(311));
    change(profile);
    EXPECT_TRUE(profile.HasChangedSinceLastLoadFromDisk()) << what;
  }
  cProfile unchanged;
  ASSERT_TRUE(unchanged.LoadFromDisk(311));
  unchanged.m_DiskIdentity = 1;
  unchanged.m_HasUpdatedDiskIdentity = true;
  unchanged.m_TimeSchedule = std::make_shared<cTimeSchedule>(*unchanged.m_TimeSchedule);
  EXPECT_FALSE(unchanged.HasChangedSinceLastLoadFromDisk());
}

TEST_F(ProfileTest, CopyFromTakesEverythingStoredAndASeparateSchedule) {
  folder.Write("Profiles/Profile_0311.dat", golden::SampleProfile(5, 2, kNoon));
  cProfile source;
  ASSERT_TRUE(source.LoadFromDisk(311));
  cProfile copy;
  copy.m_DiskIdentity = 12;
  copy.CopyFrom(source);
  EXPECT_EQ(copy.m_DiskIdentity, 12);
  EXPECT_NE(copy.m_TimeSchedule, source.m_TimeSchedule);
  EXPECT_TRUE(copy.HasChangedSinceLastLoadFromDisk());
  ASSERT_TRUE(copy.SaveToDisk());
  EXPECT_EQ(folder.Read("Profiles/Profile_0012.dat"), golden::SampleProfile(5, 2, kNoon));

  cProfile none;
  copy.CopyFrom(none);
  EXPECT_FALSE(copy.m_TimeSchedule);
}

TEST_F(ProfileTest, IndexesOutOfRangeAreError9AndValuesAreKeptAsTheirKinds) {
  cProfile profile;
  EXPECT_EQ(ErrorNumberOf([&] { profile.GetState(3); }), hcp::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorNumberOf([&] { profile.SetCondition(6, u"x"); }), hcp::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorNumberOf([&] { profile.GetSystem(-1); }), hcp::kSubscriptOutOfRange);
  EXPECT_EQ(profile.SetState(0, 4), 0);
  profile.SetCondition(0, std::int16_t{12});
  EXPECT_EQ(profile.GetCondition(0), hcp::Variant(u"12"));
}

TEST_F(ProfileTest, RemovingLogsTheOutcomeAndLeavesTheCollection) {
  auto profile = std::make_shared<cProfile>();
  profile->SetName(u"Night");
  profile->m_TimeSchedule = std::make_shared<cTimeSchedule>();
  profile->m_DiskIdentity = 311;
  ASSERT_TRUE(profile->SaveToDisk());
  ProfileCollection.Add(profile, u"311K");
  const std::string path = PathOf("Profiles/Profile_0311.dat");
  EXPECT_TRUE(profile->RemoveFromDisk(311));
  EXPECT_TRUE(profile->RemoveFromDisk(311));
  EXPECT_EQ(ProfileCollection.Count(), 0u);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"*** Invalid Text (981) 'Night' " + path,
                                                   "*** Invalid Text (981) 'Night' " + path +
                                                       " Err:File not found (" + path + ")"}));
}

}  // namespace
}  // namespace Halvane_Config
