// What one process knows of the shared objects, and the locks every export takes.
#pragma once

#include <pthread.h>
#include <sys/types.h>

#include <atomic>
#include <cstddef>

#include "Deadline.h"
#include "ObjectNames.h"
#include "RegionMutex.h"
#include "SharedObject.h"
#include "SharedRegion.h"

namespace halvane3 {

struct LibraryState {
  // The fields that every export reads come first, in one cache line.
  SharedRegion* view = nullptr;
  pthread_mutex_t* lockMutex = nullptr;
  // A forked child adds itself to attachCount at its first call: one that only goes on to
  // exec another program never detaches, and must not leave the count raised.
  bool countAtFirstCall = false;
  SharedObject globalMapping;
  SharedObject localMapping;
  SharedObject globalMutex;
  SharedObject localMutex;
  size_t regionSize = 0;
  int attachDepth = 0;
  // The process that holds the objects. A forked child takes holds of its own (see
  // ForkedChild.cpp); one that could not must leave the parent's holds alone when it ends.
  pid_t attachedProcess = 0;
  // Between a fork's handlers: whether the child takes holds of its own.
  bool childHolds = false;
  ObjectNames names;
  // The names in use, read without a lock by the name queries; null while there is none.
  std::atomic<const char*> regionName{nullptr};
  std::atomic<const char*> mutexName{nullptr};
  // Serialises this process's threads in the exports, and attach and detach with them. Taken
  // by every export: kept in one cache line.
  alignas(64) pthread_mutex_t processLock = PTHREAD_MUTEX_INITIALIZER;
};

extern LibraryState library;

// A process of the family holds an attach lock for well under a millisecond; one held longer
// belongs to a stopped process or to somebody who means harm, since any local account can
// lock the global one. Attach, detach and fork wait for it (and detach and fork for the
// process lock) only this long in all, and then go on without.
inline constexpr int kLockWaitMilliseconds = 1000;
// The share of that wait that the global attach lock may take, so that a process that
// falls back to the local objects still has time to lock them.
inline constexpr int kGlobalLockWaitMilliseconds = 750;

// Load and unload of the library.
void attachProcess();
void detachProcess();
// Moves a process on the local objects to the global ones; 1 when the region moved.
int32_t moveToGlobalObjects();
// Installs the fork handlers that give a forked child holds of its own.
void watchForks();
// A forked child's first call.
void countForkedChild();

// Takes the process lock unless the deadline passes first.
inline bool lockProcessBefore(const Deadline& deadline) {
  const timespec until = deadline.onRealtimeClock();
  return pthread_mutex_timedlock(&library.processLock, &until) == 0;
}

// Holds the process lock; gives the region, or null when the process has none.
class ProcessLocked {
 public:
  ProcessLocked() {
    pthread_mutex_lock(&library.processLock);
    if (library.countAtFirstCall) [[unlikely]]
      countForkedChild();
  }
  ~ProcessLocked() { pthread_mutex_unlock(&library.processLock); }
  ProcessLocked(const ProcessLocked&) = delete;
  ProcessLocked& operator=(const ProcessLocked&) = delete;

  SharedRegion* region() const { return library.view; }
};

// Holds the region mutex, taken while the process lock is held; false when the process has
// no region or the mutex can no longer be locked.
class RegionMutexHeld {
 public:
  RegionMutexHeld()
      : held_(library.view != nullptr &&
              lockRegionMutex(library.lockMutex) != LockOutcome::Unusable) {}
  ~RegionMutexHeld() {
    if (held_) unlockRegionMutex(library.lockMutex);
  }
  RegionMutexHeld(const RegionMutexHeld&) = delete;
  RegionMutexHeld& operator=(const RegionMutexHeld&) = delete;

  explicit operator bool() const { return held_; }

 private:
  bool held_;
};

// Holds the process lock and then the region mutex; gives the region, or null when the
// process has none or the mutex can no longer be locked.
class LockedRegion {
 public:
  LockedRegion() = default;
  LockedRegion(const LockedRegion&) = delete;
  LockedRegion& operator=(const LockedRegion&) = delete;

  SharedRegion* region() const { return mutexHeld_ ? library.view : nullptr; }

 private:
  ProcessLocked processLocked_;
  RegionMutexHeld mutexHeld_;
};

}  // namespace halvane3
