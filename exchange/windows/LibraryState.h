// What one process knows of the shared objects on Windows, and the locks every export
// takes. The kernel closes a process's handles however it ends and an object lives while a
// handle to it is open, so nothing here has to deal with what dead processes leave behind.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "SharedRegion.h"

namespace halvane3 {

struct LibraryState {
  SharedRegion* view = nullptr;
  HANDLE lockMutex = nullptr;
  HANDLE globalMapping = nullptr;
  HANDLE localMapping = nullptr;
  HANDLE globalMutex = nullptr;
  HANDLE localMutex = nullptr;
  bool usingGlobalRegion = false;
  bool usingGlobalMutex = false;
  SIZE_T regionSize = 0;
  int attachDepth = 0;
  // Initialised at the first attach, deleted at the last detach.
  CRITICAL_SECTION processLock;
};

extern LibraryState library;

// The loader's process-attach and process-detach notifications (DllMain.cpp).
bool attachProcess();
void detachProcess();

// Holds the process lock; gives the region.
class ProcessLocked {
 public:
  ProcessLocked() { EnterCriticalSection(&library.processLock); }
  ~ProcessLocked() { LeaveCriticalSection(&library.processLock); }
  ProcessLocked(const ProcessLocked&) = delete;
  ProcessLocked& operator=(const ProcessLocked&) = delete;

  SharedRegion* region() const { return library.view; }
};

// Holds the process lock and then the region mutex, waited for without time-out. The wait's
// result is not examined: a mutex whose owner ended while holding it (WAIT_ABANDONED) is
// simply taken over.
class LockedRegion {
 public:
  LockedRegion() { WaitForSingleObject(library.lockMutex, INFINITE); }
  ~LockedRegion() { ReleaseMutex(library.lockMutex); }
  LockedRegion(const LockedRegion&) = delete;
  LockedRegion& operator=(const LockedRegion&) = delete;

  SharedRegion* region() const { return library.view; }

 private:
  ProcessLocked processLocked_;
};

}  // namespace halvane3
