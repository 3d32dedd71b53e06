#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "RegionMutex.h"

using namespace halvane3;

namespace {

// A mutex in memory shared with forked children, as it is shared between processes.
class RegionMutexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    void* memory = mmap(nullptr, sizeof(pthread_mutex_t), PROT_READ | PROT_WRITE,
                        MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(memory, MAP_FAILED);
    mutex_ = static_cast<pthread_mutex_t*>(memory);
    ASSERT_TRUE(initRegionMutex(mutex_));
  }
  void TearDown() override { munmap(mutex_, sizeof(pthread_mutex_t)); }

  // A child process locks the mutex and is killed while it holds it.
  void ownerDiesHoldingIt() {
    const pid_t child = fork();
    if (child == 0) {
      pthread_mutex_lock(mutex_);
      kill(getpid(), SIGKILL);
    }
    int status;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
  }

  pthread_mutex_t* mutex_ = nullptr;
};

TEST_F(RegionMutexTest, NextLockerTakesOverFromADeadOwner) {
  ownerDiesHoldingIt();
  EXPECT_EQ(lockRegionMutex(mutex_), LockOutcome::TakenOverFromDeadOwner);
  unlockRegionMutex(mutex_);
  EXPECT_EQ(lockRegionMutex(mutex_), LockOutcome::Acquired);
  unlockRegionMutex(mutex_);
}

TEST_F(RegionMutexTest, MutexReleasedWithoutRepairIsReportedUnusable) {
  ownerDiesHoldingIt();
  ASSERT_EQ(pthread_mutex_lock(mutex_), EOWNERDEAD);
  pthread_mutex_unlock(mutex_);
  EXPECT_EQ(lockRegionMutex(mutex_), LockOutcome::Unusable);
}

}  // namespace
