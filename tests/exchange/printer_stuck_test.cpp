// A printer that never takes the job: its device is a FIFO nobody reads.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "PrinterFixture.h"

namespace {

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

}  // namespace
