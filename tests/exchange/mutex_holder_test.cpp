// Processes that hold the region mutex, and a mutex that can never be locked again.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "ExchangeFixture.h"
#include "MappedObject.h"

namespace {

TEST(MutexHolder, ProcessKilledWhileHoldingTheRegionMutexBlocksNobody) {
  TestNamespace names;
  // The helper appends to its log file inside the locked operation; a FIFO that nobody
  // drains stops it there, holding the region mutex.
  const std::string fifo = names.folder() + "/log.fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ChildProcess holder(helper({"syslog-long", fifo, "300000"}));
  const int fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  pollfd written{fd, POLLIN, 0};
  ASSERT_EQ(poll(&written, 1, 60'000), 1) << "the holder never got into its log file";
  holder.kill();
  close(fd);

  const Finished other = runToEnd(helper({"push", "0", "after", "read", "0"}));
  EXPECT_EQ(other.exitCode, 0);
  EXPECT_EQ(other.output, "push 1\nentry after\nend\n");
}

using MutexHolderInProcess = ExchangeFixture;

TEST_F(MutexHolderInProcess, MutexThatCanNeverBeLockedAgainFailsEveryLockedOperation) {
  MappedObject mutexObject(names.posixName("QorStructMutEx3"), sizeof(pthread_mutex_t));
  ASSERT_TRUE(mutexObject.mapped());
  auto* mutex = static_cast<pthread_mutex_t*>(mutexObject.address());
  ASSERT_EQ(h3.SetCommandEntry("before", 0), 1);

  // Code without the library takes the mutex over from a dead owner and releases it without
  // declaring it consistent.
  const pid_t child = fork();
  if (child == 0) {
    pthread_mutex_lock(mutex);
    kill(getpid(), SIGKILL);
  }
  ASSERT_EQ(waitpid(child, nullptr, 0), child);
  ASSERT_EQ(pthread_mutex_lock(mutex), EOWNERDEAD);
  pthread_mutex_unlock(mutex);

  EXPECT_EQ(h3.SetCommandEntry("after", 0), 0);
  int32_t cursor = -1;
  char buffer[16];
  int32_t size = sizeof buffer;
  EXPECT_EQ(h3.GetCommandEntry(&cursor, buffer, &size, 0), 0);
  EXPECT_EQ(h3.SetSysLogEntry(nullptr, "text"), 0);
  EXPECT_EQ(h3.SetTreeViewEntry(1, 2, "text", 3, 4), 0);
  h3.SetSysInfo("text");
  EXPECT_EQ(h3.GetSysInfo(buffer, sizeof buffer), 0);
}

}  // namespace
