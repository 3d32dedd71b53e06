#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "PrinterFixture.h"

namespace {

TEST_F(Printer, PortTwoPrintsOnTheThirdDeviceWithCrLf) {
  plugIn(2);
  EXPECT_EQ(h3.SendPRN("line 1\nline 2\n", 2), 1);
  EXPECT_EQ(readFile(device(2)), "line 1\r\nline 2\r\n");
  // A 16-bit port: only the low half of the slot counts.
  EXPECT_EQ(h3.SendPRN("again", 0x10002), 1);
  EXPECT_EQ(readFile(device(2)), "line 1\r\nline 2\r\nagain");
}

TEST_F(Printer, DeviceThatIsNotThereFails) {
  EXPECT_EQ(h3.SendPRN("text", 5), 0);
  EXPECT_FALSE(std::filesystem::exists(device(5))) << "a device is never created";
}

TEST_F(Printer, ThreadsPrintingAtOnceNeverShareAJob) {
  plugIn(3);
  std::vector<std::thread> threads;
  std::vector<int> printed(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 20; ++i)
        printed[t] += h3.SendPRN("x\n", 3);
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  int total = 0;
  for (int count : printed)
    total += count;
  EXPECT_GT(total, 0);
  // Every job reported printed is there once and whole; a job may also finish after its
  // caller gave up, so there can be more.
  const std::string content = readFile(device(3));
  EXPECT_GE(content.size(), total * 3u);
  EXPECT_EQ(content.size() % 3, 0u);
}

}  // namespace
