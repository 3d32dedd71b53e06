// What one process knows of the shared objects, and the locks every export takes.
#pragma once

#include <pthread.h>
#include <sys/types.h>

#include <atomic>
#include <cstddef>

#include "ObjectNames.h"
#include "RegionMutex.h"
#include "SharedObject.h"
#include "SharedRegion.h"

namespace halvane3 {

struct LibraryState {
  SharedRegion* view = nullptr;
  SharedObject globalMapping;
  SharedObject localMapping;
  SharedObject globalMutex;
  SharedObject localMutex;
  pthread_mutex_t* lockMutex = nullptr;
  size_t regionSize = 0;
  int attachDepth = 0;
  // A child forked without exec shares this process's descriptors and flocks but never
  // attached itself; its exit must not detach the parent.
  pid_t attachedProcess = 0;
  ObjectNames names;
  // The names in use, read without a lock by the name queries; null while there is none.
  std::atomic<const char*> regionName{nullptr};
  std::atomic<const char*> mutexName{nullptr};
  // Serialises this process's threads in the exports, and attach and detach with them.
  pthread_mutex_t processLock = PTHREAD_MUTEX_INITIALIZER;
};

extern LibraryState library;

// Load and unload of the library.
void attachProcess();
void detachProcess();
// Moves a process on the local objects to the global ones; 1 when the region moved.
int32_t moveToGlobalObjects();

// Holds the process lock; gives the region, or null when the process has none.
class ProcessLocked {
 public:
  ProcessLocked() { pthread_mutex_lock(&library.processLock); }
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
