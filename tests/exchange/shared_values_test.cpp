#include <string>

#include "ExchangeFixture.h"

namespace {

using SharedValues = ExchangeFixture;

TEST_F(SharedValues, SysInfoOf255CharactersIsKeptAndOf256Dropped) {
  char buffer[300];
  h3.SetSysInfo(std::string(255, 'i').c_str());
  EXPECT_EQ(h3.GetSysInfo(buffer, sizeof buffer), 255);
  EXPECT_EQ(std::string(buffer), std::string(255, 'i'));
  h3.SetSysInfo(std::string(256, 'j').c_str());
  EXPECT_EQ(h3.GetSysInfo(buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
}

TEST_F(SharedValues, SysInfoIsDeliveredWholeOrNotAtAll) {
  h3.SetSysInfo("0123456789");
  char buffer[16] = "untouched";
  EXPECT_EQ(h3.GetSysInfo(buffer, 0), 0);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(h3.GetSysInfo(buffer, 11), 10);
  EXPECT_STREQ(buffer, "0123456789");
  EXPECT_EQ(h3.GetSysInfo(buffer, 10), 0);
  EXPECT_STREQ(buffer, "");
  // A 16-bit size: only the low half of the slot counts.
  EXPECT_EQ(h3.GetSysInfo(buffer, 0x10000 + 11), 10);
  EXPECT_EQ(h3.GetSysInfo(buffer, 0x10000), 0);
}

TEST_F(SharedValues, RunningAppsSetAndClearOnlyTheirMask) {
  h3.SetRunningApps(4, 1);
  EXPECT_EQ(h3.GetRunningApps(6), 1);
  EXPECT_EQ(h3.GetRunningApps(2), 0);
  h3.SetRunningApps(1, -5);
  h3.SetRunningApps(4, 0);
  EXPECT_EQ(h3.GetRunningApps(6), 0);
  EXPECT_EQ(h3.GetRunningApps(1), 1);
}

TEST_F(SharedValues, Bit31AloneNeverReadsAsRunning) {
  const int32_t bit31 = static_cast<int32_t>(0x80000000u);
  h3.SetRunningApps(bit31, 1);
  EXPECT_EQ(h3.GetRunningApps(bit31), 0);
  EXPECT_EQ(h3.GetRunningApps(-1), 0);
  h3.SetRunningApps(8, 1);
  EXPECT_EQ(h3.GetRunningApps(-1), 0) << "bit 31 makes the combined bits negative";
  EXPECT_EQ(h3.GetRunningApps(0x7fffffff), 1);
}

TEST_F(SharedValues, WatchdogWrapsIn16Bits) {
  for (int i = 0; i < 32767; ++i)
    h3.IncreaseWatchdog();
  EXPECT_EQ(h3.ReadWatchdog(), 32767);
  h3.IncreaseWatchdog();
  EXPECT_EQ(h3.ReadWatchdog(), -32768);
  for (int i = 0; i < 32768; ++i)
    h3.IncreaseWatchdog();
  EXPECT_EQ(h3.ReadWatchdog(), 0);
}

TEST_F(SharedValues, VersionIs3005) {
  EXPECT_EQ(h3.GetHalvaneDLLVersion(), 0x03000005);
}

}  // namespace
