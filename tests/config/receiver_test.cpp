#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "ConfigFilesFixture.h"

namespace Halvane_Config {
namespace {

using golden::kNoon;

// Every member a load may touch, to tell that a failed load left them alone.
std::string Describe(const cReceiver& r) {
  std::string text =
      std::to_string(r.m_DiskIdentity) + "|" + std::to_string(r.m_Enabled) + "|" +
      std::to_string(r.GetReceiverTypeId()) + "|" + std::to_string(r.m_ReceiverTypeIndex) + "|" +
      hcp::Utf16ToUtf8(r.m_ReceiverTypeName + u"|" + r.m_ReceiverName + u"|" + r.m_BackupReceiver) +
      "|" + std::to_string(r.m_FileDateTimeStamp.days);
  for (std::int16_t i = 0; i < 4; ++i)
    text += "|" + std::to_string(static_cast<int>(r.GetSetting(i).Type())) + ":" +
            hcp::Utf16ToUtf8(hcp::ToText(r.GetSetting(i)));
  return text;
}

// A receiver with something in every member.
cReceiver Filled() {
  cReceiver receiver;
  receiver.m_Enabled = false;
  receiver.SetReceiverTypeId(99);
  receiver.m_ReceiverName = u"Before";
  receiver.m_BackupReceiver = u"Spare";
  receiver.m_FileDateTimeStamp = {123.5};
  receiver.SaveSetting(0, std::int32_t{77});
  receiver.SaveSetting(2, u"kept");
  return receiver;
}

// Limits the size of files this process may write while it lives, like a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    signalBefore_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, signalBefore_);
  }

 private:
  rlimit saved_{};
  sighandler_t signalBefore_;
};

using ReceiverTest = ConfigFilesTest;

TEST_F(ReceiverTest, FileNamesCarryTheLastFourDigitsOfTheIdentity) {
  EXPECT_EQ(Utf8(cReceiver::CreateFileName(7)), PathOf("Receivers/Receiver_0007.dat"));
  EXPECT_EQ(Utf8(cReceiver::CreateFileName(42)), PathOf("Receivers/Receiver_0042.dat"));
  EXPECT_EQ(Utf8(cReceiver::CreateFileName(9991)), PathOf("Receivers/Receiver_9991.dat"));
  EXPECT_EQ(Utf8(cReceiver::CreateFileName(12345)), PathOf("Receivers/Receiver_2345.dat"));
  EXPECT_EQ(Utf8(cReceiver::CreateFileName(-1)), PathOf("Receivers/Receiver_00-1.dat"));
}

TEST_F(ReceiverTest, ANewReceiverGetsAFreeIdentityAndKeepsIt) {
  cReceiver receiver;
  ASSERT_TRUE(receiver.SaveToDisk());
  const std::int16_t identity = receiver.m_DiskIdentity;
  EXPECT_GE(identity, 1);
  EXPECT_LE(identity, 9991);
  EXPECT_TRUE(receiver.m_HasUpdatedDiskIdentity);
  const std::string name = Utf8(cReceiver::CreateFileName(identity));
  EXPECT_EQ(folder.Read(name.substr(folder.Path().size())),
            golden::EmptyReceiverV5(identity, kNoon));
  EXPECT_EQ(golden::EmptyReceiverV5(identity, kNoon).size(), 2086u);

  ASSERT_TRUE(receiver.SaveToDisk());
  EXPECT_EQ(receiver.m_DiskIdentity, identity);
  EXPECT_FALSE(receiver.m_HasUpdatedDiskIdentity);
  EXPECT_EQ(folder.Entries("Receivers").size(), 1u);  // nothing left beside it
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(ReceiverTest, TheIdentitySearchTakesTheOneFreeIdentityAndStopsWhenNoneIsLeft) {
  for (int identity = 1; identity <= 9991; ++identity) {
    if (identity != 5000)
      folder.Write(Utf8(cReceiver::CreateFileName(identity)).substr(folder.Path().size()), "");
  }
  // Saved together: the second does not take the identity the first drew, whose file is
  // not there yet.
  cReceiver last;
  cReceiver tooMany;
  SaveBatch batch;
  last.SaveToDisk(batch);
  tooMany.SaveToDisk(batch);
  batch.Commit();
  EXPECT_TRUE(batch.OutcomeOf(0).saved);
  EXPECT_EQ(last.m_DiskIdentity, 5000);

  EXPECT_FALSE(batch.OutcomeOf(1).saved);
  EXPECT_EQ(tooMany.m_DiskIdentity, -1);
  EXPECT_FALSE(tooMany.m_HasUpdatedDiskIdentity);
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Lines()[0], "*** Invalid Text (979) " + PathOf("Receivers/") +
                                " Err:Too many files: all 9991 disk identities are taken");
}

TEST_F(ReceiverTest, AVersion5FileLoadsEveryStoredMember) {
  folder.Write("Receivers/Receiver_0042.dat",
               golden::ReceiverV5(41, false, 12, "Pump \xe9", golden::SampleSettings(), "Standby",
                                  46000.25));
  cReceiver receiver;
  ASSERT_TRUE(receiver.LoadFromDisk(42));
  EXPECT_EQ(receiver.m_DiskIdentity, 42);  // the name's, not the stored 41
  EXPECT_FALSE(receiver.m_Enabled);
  EXPECT_EQ(receiver.GetReceiverTypeId(), 12);
  EXPECT_EQ(receiver.m_ReceiverTypeIndex, -1);
  EXPECT_EQ(receiver.m_ReceiverTypeName, u"(*** Invalid Text (1088): 0012)");
  EXPECT_EQ(receiver.m_ReceiverName, u"Pump \u00e9");
  EXPECT_EQ(receiver.GetSetting(0), hcp::Variant(std::int16_t{5}));
  EXPECT_EQ(receiver.GetSetting(1), hcp::Variant(u"x"));
  EXPECT_TRUE(receiver.GetSetting(2).IsEmpty());
  EXPECT_EQ(receiver.GetSetting(3), hcp::Variant(true));
  EXPECT_EQ(receiver.m_BackupReceiver, u"Standby");
  EXPECT_EQ(receiver.m_FileDateTimeStamp.days, 46000.25);
  EXPECT_FALSE(receiver.HasChangedSinceLastLoadFromDisk());
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(ReceiverTest, Version3And4FilesAreUpgradedAndRewrittenAsVersion5) {
  folder.Write("Receivers/Receiver_0007.dat", golden::ReceiverV3());
  cReceiver old = Filled();
  ASSERT_TRUE(old.LoadFromDisk(7));
  EXPECT_TRUE(old.m_Enabled);
  EXPECT_EQ(old.m_BackupReceiver, u"");
  EXPECT_EQ(old.m_ReceiverName, u"Pump");
  EXPECT_EQ(old.m_FileDateTimeStamp.days, 123.5);  // version 3 stores none
  EXPECT_EQ(folder.Read("Receivers/Receiver_0007.dat"),
            golden::ReceiverV5(7, true, 12, "Pump", golden::SampleSettings(), "", kNoon));

  folder.Write("Receivers/Receiver_0042.dat", golden::ReceiverV4());
  cReceiver older;
  ASSERT_TRUE(older.LoadFromDisk(42));
  EXPECT_FALSE(older.m_Enabled);
  EXPECT_EQ(older.m_BackupReceiver, u"Standby");
  EXPECT_EQ(folder.Read("Receivers/Receiver_0042.dat"),
            golden::ReceiverV5(42, false, 12, "Pump", golden::SampleSettings(), "Standby", kNoon));
  EXPECT_FALSE(older.HasChangedSinceLastLoadFromDisk());
  EXPECT_FALSE(older.m_HasUpdatedDiskIdentity);

  EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                             "*** Invalid Text (888) '" + PathOf("Receivers/Receiver_0007.dat") +
                                 "' (version 3 -> 5)",
                             "*** Invalid Text (888) '" + PathOf("Receivers/Receiver_0042.dat") +
                                 "' (version 4 -> 5)"}));
  EXPECT_EQ(folder.Entries("Receivers").size(), 2u);
}

TEST_F(ReceiverTest, AnUnknownVersionIsLoggedAndChangesOnlyTheIdentity) {
  const std::string bytes = Hex("0600") + golden::EmptyReceiverV5(3, kNoon).substr(2);
  folder.Write("Receivers/Receiver_0003.dat", bytes);
  cReceiver receiver = Filled();
  const std::string before = Describe(receiver);
  EXPECT_FALSE(receiver.LoadFromDisk(3));
  EXPECT_EQ(receiver.m_DiskIdentity, 3);
  receiver.m_DiskIdentity = -1;
  EXPECT_EQ(Describe(receiver), before);
  EXPECT_EQ(log.Lines(), std::vector<std::string>{"*** Invalid Text (803) '" +
                                                  PathOf("Receivers/Receiver_0003.dat") +
                                                  "' (6) *** Invalid Text (804)"});
  EXPECT_EQ(folder.Read("Receivers/Receiver_0003.dat"), bytes);
}

TEST_F(ReceiverTest, AMissingOrTooShortFileLoadsNothingAndCreatesNothing) {
  cReceiver receiver;
  EXPECT_FALSE(receiver.LoadFromDisk(5));
  EXPECT_EQ(receiver.m_DiskIdentity, -1);
  EXPECT_TRUE(folder.Entries("Receivers").empty());

  folder.Write("Receivers/Receiver_0005.dat", "\x05");
  EXPECT_FALSE(receiver.LoadFromDisk(5));
  EXPECT_EQ(receiver.m_DiskIdentity, -1);
  EXPECT_EQ(folder.Read("Receivers/Receiver_0005.dat"), "\x05");
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(ReceiverTest, EveryTruncatedFileIsALoggedFailureThatChangesNothing) {
  for (const std::string& whole :
       {golden::ReceiverV3(), golden::ReceiverV4(), golden::EmptyReceiverV5(9, kNoon)}) {
    for (std::size_t length = 2; length < whole.size(); ++length) {
      folder.Write("Receivers/Receiver_0009.dat", whole.substr(0, length));
      log.Clear();
      cReceiver receiver = Filled();
      const std::string before = Describe(receiver);
      ASSERT_FALSE(receiver.LoadFromDisk(9)) << length;
      receiver.m_DiskIdentity = -1;
      ASSERT_EQ(Describe(receiver), before) << length;
      ASSERT_EQ(log.Lines(), std::vector<std::string>{"*** Invalid Text (978) " +
                                                      PathOf("Receivers/Receiver_0009.dat") +
                                                      " Err:Input past end of file"})
          << length;
      ASSERT_EQ(folder.Read("Receivers/Receiver_0009.dat").size(), length);
    }
  }
}

TEST_F(ReceiverTest, LengthsThatOvershootTheFileAndUnknownVariantsAreCleanFailures) {
  std::string huge = golden::EmptyReceiverV5(9, kNoon);
  huge.replace(8, 2, Hex("ffff"));  // a name of 65,535 bytes in a file of 2,086
  std::string foreign = golden::EmptyReceiverV5(9, kNoon);
  foreign.replace(10, 2, Hex("6300"));  // setting 0 of variant type 99
  for (const auto& [bytes, error] :
       {std::pair{huge, std::string("Input past end of file")},
        std::pair{foreign, std::string("Invalid file format: unknown variant type 99")}}) {
    folder.Write("Receivers/Receiver_0009.dat", bytes);
    log.Clear();
    cReceiver receiver;
    EXPECT_FALSE(receiver.LoadFromDisk(9));
    EXPECT_EQ(log.Lines(),
              std::vector<std::string>{"*** Invalid Text (978) " +
                                       PathOf("Receivers/Receiver_0009.dat") + " Err:" + error});
  }
}

TEST_F(ReceiverTest, AFailedSaveLeavesThePreviousFileAsItWas) {
  cReceiver receiver;
  receiver.m_ReceiverName = u"First";
  ASSERT_TRUE(receiver.SaveToDisk());
  const std::string relative =
      Utf8(cReceiver::CreateFileName(receiver.m_DiskIdentity)).substr(folder.Path().size());
  const std::string saved = folder.Read(relative);

  receiver.m_ReceiverName = u"Second";
  {
    FileSizeLimit fullDisk(1000);
    EXPECT_FALSE(receiver.SaveToDisk());
  }
  receiver.m_BackupReceiver = std::u16string(70000, u'x');
  EXPECT_FALSE(receiver.SaveToDisk());

  EXPECT_EQ(folder.Read(relative), saved);
  EXPECT_EQ(folder.Entries("Receivers").size(), 1u);
  EXPECT_TRUE(receiver.HasChangedSinceLastLoadFromDisk());
  const std::string start = "*** Invalid Text (979) " + PathOf(relative) + " Err:";
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Lines()[0].substr(0, start.size() + 9), start + "Disk full");
  EXPECT_EQ(log.Lines()[1], start + "Text of 70000 characters is longer than a stored text can be");
}

TEST_F(ReceiverTest, WhatASaveCutShortLeftBesideTheFileGoesWithTheNextSave) {
  folder.Write("Receivers/.Receiver_0042.dat." + std::to_string(::getpid()) + ".new",
               std::string(5000, 'x'));
  cReceiver receiver;
  receiver.m_DiskIdentity = 42;
  ASSERT_TRUE(receiver.SaveToDisk());
  EXPECT_EQ(folder.Read("Receivers/Receiver_0042.dat"), golden::EmptyReceiverV5(42, kNoon));
  EXPECT_EQ(folder.Entries("Receivers"), std::vector<std::string>{"Receiver_0042.dat"});
}

TEST_F(ReceiverTest, ASaveIntoAFolderThatCannotHoldFilesFails) {
  std::filesystem::remove(folder.PathOf("Receivers"));
  folder.Write("Receivers", "a file where the folder should be");
  cReceiver receiver;
  receiver.m_DiskIdentity = 42;
  EXPECT_FALSE(receiver.SaveToDisk());
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_NE(log.Lines()[0].find(" Err:Path not found"), std::string::npos) << log.Lines()[0];
}

TEST_F(ReceiverTest, EachComparedMemberCountsAsAChangeAndTheOthersDoNot) {
  folder.Write("Receivers/Receiver_0042.dat",
               golden::ReceiverV5(42, true, 12, "Pump", golden::SampleSettings(), "Spare", kNoon));
  const std::vector<std::pair<const char*, std::function<void(cReceiver&)>>> changes = {
      {"name in case only", [](cReceiver& r) { r.m_ReceiverName = u"pump"; }},
      {"backup receiver", [](cReceiver& r) { r.m_BackupReceiver = u"Spare2"; }},
      {"type", [](cReceiver& r) { r.SetReceiverTypeId(13); }},
      {"enabled", [](cReceiver& r) { r.m_Enabled = false; }},
      {"setting 0", [](cReceiver& r) { r.SaveSetting(0, std::int16_t{6}); }},
      {"setting 0 as text", [](cReceiver& r) { r.SaveSetting(0, u"5"); }},
      {"setting 1", [](cReceiver& r) { r.SaveSetting(1, u"X"); }},
      {"setting 2", [](cReceiver& r) { r.SaveSetting(2, std::int16_t{1}); }},
      {"setting 3", [](cReceiver& r) { r.SaveSetting(3, false); }},
  };
  for (const auto& [what, change] : changes) {
    cReceiver receiver;
    ASSERT_TRUE(receiver.LoadFromDisk(42));
    change(receiver);
    EXPECT_TRUE(receiver.HasChangedSinceLastLoadFromDisk()) << what;
  }
  const std::vector<std::pair<const char*, std::function<void(cReceiver&)>>> sameness = {
      {"sending failed", [](cReceiver& r) { r.m_SendingFailed = true; }},
      {"keep-alive", [](cReceiver& r) { r.m_LastKeepAlive = {5}; }},
      {"file time", [](cReceiver& r) { r.m_FileDateTimeStamp = {5}; }},
      {"identity", [](cReceiver& r) { r.m_DiskIdentity = 43; }},
      {"type name", [](cReceiver& r) { r.m_ReceiverTypeName = u"other"; }},
      {"same type", [](cReceiver& r) { r.SetReceiverTypeId(12); }},
      {"setting 0 as Long", [](cReceiver& r) { r.SaveSetting(0, std::int32_t{5}); }},
      {"setting 3 as -1", [](cReceiver& r) { r.SaveSetting(3, std::int16_t{-1}); }},
      {"setting 2 as 0", [](cReceiver& r) { r.SaveSetting(2, std::int16_t{0}); }},
      {"setting 2 as empty text", [](cReceiver& r) { r.SaveSetting(2, u""); }},
  };
  for (const auto& [what, change] : sameness) {
    cReceiver receiver;
    ASSERT_TRUE(receiver.LoadFromDisk(42));
    change(receiver);
    EXPECT_FALSE(receiver.HasChangedSinceLastLoadFromDisk()) << what;
  }
}

TEST_F(ReceiverTest, TheTypeComesFromTheCatalogueAndStampsTheKeepAliveOfItsKinds) {
  cReceiver receiver;
  receiver.SetReceiverTypeId(12);
  EXPECT_EQ(receiver.m_ReceiverTypeIndex, -1);
  EXPECT_EQ(receiver.m_ReceiverTypeName, u"(*** Invalid Text (1088): 0012)");

  ReceiverTypeCatalogue[0] = {5, u"SMS", u"sms"};
  ReceiverTypeCatalogue[1] = {12, u"Voice", u"vrmTcp"};
  ReceiverTypeCatalogue[2] = {13, u"Never reached", u"VRM"};
  ReceiverTypeCount = 2;
  receiver.SetReceiverTypeId(13);
  EXPECT_EQ(receiver.m_ReceiverTypeIndex, -1);

  for (const auto& [setting, stamps] :
       {std::pair{hcp::Variant(std::int16_t{30}), true}, std::pair{hcp::Variant(u" 30"), true},
        std::pair{hcp::Variant(std::int16_t{0}), false}, std::pair{hcp::Variant(u"abc"), false},
        std::pair{hcp::Variant(hcp::DateTime{40000}), false}}) {
    cReceiver voice;
    voice.SaveSetting(1, setting);
    voice.SetReceiverTypeId(12);
    EXPECT_EQ(voice.m_ReceiverTypeIndex, 1);
    EXPECT_EQ(voice.m_ReceiverTypeName, u"Voice");
    EXPECT_EQ(voice.m_LastKeepAlive.days, stamps ? kNoon : 0)
        << hcp::Utf16ToUtf8(hcp::ToText(setting));
  }
}

TEST_F(ReceiverTest, CopyFromTakesTheSettingsButNotTheIdentityOrTheSnapshot) {
  folder.Write("Receivers/Receiver_0042.dat", golden::EmptyReceiverV5(42, kNoon));
  cReceiver target;
  ASSERT_TRUE(target.LoadFromDisk(42));
  target.m_SendingFailed = true;
  const cReceiver source = Filled();
  target.CopyFrom(source);

  cReceiver expected = source;
  expected.m_DiskIdentity = 42;
  expected.m_FileDateTimeStamp = target.m_FileDateTimeStamp;
  EXPECT_EQ(Describe(target), Describe(expected));
  EXPECT_TRUE(target.m_SendingFailed);
  EXPECT_TRUE(target.HasChangedSinceLastLoadFromDisk());
}

TEST_F(ReceiverTest, SettingIndexesOutside0To3AreError9) {
  cReceiver receiver;
  EXPECT_EQ(ErrorNumberOf([&] { receiver.GetSetting(4); }), hcp::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorNumberOf([&] { receiver.SaveSetting(-1, u"x"); }), hcp::kSubscriptOutOfRange);
}

TEST_F(ReceiverTest, RemovingDeletesTheFileLogsAndLeavesTheCollection) {
  auto receiver = std::make_shared<cReceiver>();
  receiver->m_ReceiverName = u"Pump";
  ASSERT_TRUE(receiver->SaveToDisk());
  const std::int16_t identity = receiver->m_DiskIdentity;
  ReceiverCollection.Add(receiver, CollectionKey(identity));
  const std::string path = Utf8(cReceiver::CreateFileName(identity));

  EXPECT_TRUE(receiver->RemoveFromDisk(identity));
  EXPECT_TRUE(folder.Entries("Receivers").empty());
  EXPECT_EQ(ReceiverCollection.Count(), 0u);
  EXPECT_TRUE(receiver->RemoveFromDisk(identity));  // nothing left to delete
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"*** Invalid Text (976) 'Pump' " + path,
                                                   "*** Invalid Text (977) 'Pump' " + path +
                                                       " Err:File not found (" + path + ")"}));
}

TEST(KeyedCollection, KeepsTheOrderAndRefusesDoubleOrMissingKeys) {
  KeyedCollection<int> collection;
  EXPECT_EQ(CollectionKey(42), u"42K");
  for (int i : {3, 1, 2})
    collection.Add(std::make_shared<int>(i), CollectionKey(static_cast<std::int16_t>(i)));
  collection.Remove(u"1K");
  std::vector<std::u16string> keys;
  for (const auto& [key, item] : collection)
    keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"3K", u"2K"}));
  EXPECT_EQ(*collection.Item(u"2K"), 2);
  EXPECT_EQ(ErrorNumberOf([&] { collection.Add(std::make_shared<int>(9), u"3K"); }),
            kKeyAlreadyAssociated);
  EXPECT_EQ(ErrorNumberOf([&] { collection.Item(u"1K"); }), hcp::kInvalidProcedureCall);
  EXPECT_EQ(ErrorNumberOf([&] { collection.Remove(u"1K"); }), hcp::kInvalidProcedureCall);
  EXPECT_EQ(collection.Count(), 2u);
}

}  // namespace
}  // namespace Halvane_Config
