#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "ExchangeFixture.h"

namespace {

class Printer : public ExchangeFixture {
 protected:
  std::string device(int port) const { return names.folder() + "/lp" + std::to_string(port); }
  // A device file that is there and empty.
  std::string plugIn(int port) const {
    writeFile(device(port), "");
    return device(port);
  }
};

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
  struct stat status;
  EXPECT_NE(stat(device(5).c_str(), &status), 0) << "a device is never created";
}

// A printer that never takes the job: its device is a FIFO nobody reads.
TEST_F(Printer, CallWhileAJobStillRunsReturnsAtOnceAndStartsNothing) {
  ASSERT_EQ(mkfifo(device(0).c_str(), 0600), 0);
  plugIn(1);
  EXPECT_EQ(h3.SendPRN("stuck job\n", 0), 0) << "the wait runs out";
  EXPECT_EQ(h3.SendPRN("second job", 1), 0);
  EXPECT_EQ(readFile(device(1)), "");

  // The printer comes back: the first job goes out, and the port is free again.
  const int fd = open(device(0).c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  std::string printed;
  char chunk[64];
  for (ssize_t length; (length = read(fd, chunk, sizeof chunk)) > 0;)
    printed.append(chunk, length);
  close(fd);
  EXPECT_EQ(printed, "stuck job\r\n");
  int result = 0;
  for (int attempt = 0; attempt < 1000 && result == 0; ++attempt) {
    result = h3.SendPRN("third job", 1);
    if (result == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(result, 1);
  EXPECT_EQ(readFile(device(1)), "third job");
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
