// Attach, detach and the move to the global objects.
#include <unistd.h>

#include <atomic>

#include "LibraryState.h"
#include "RegionMutex.h"

namespace halvane3 {
namespace {

// Takes the attach locks that a step needs, always the global one before the local one, and
// releases them when the step ends. Leaving never creates a lock object: one that is gone
// was removed on purpose (by whoever cleaned up the namespace), and the objects it guarded
// are then left for the next attach to find abandoned.
class AttachLocks {
 public:
  AttachLocks(const ObjectNames& names, IfMissing ifMissing)
      : names_(names), ifMissing_(ifMissing) {}

  bool global() { return take(global_, globalTried_, names_.global.attachLock, Scope::Global); }
  bool local() { return take(local_, localTried_, names_.local.attachLock, Scope::Local); }

 private:
  bool take(AttachLock& lock, bool& tried, const PosixName& name, Scope scope) {
    if (!tried) {
      tried = true;
      lock.acquire(name, scope, ifMissing_);
    }
    return lock.held();
  }

  const ObjectNames& names_;
  IfMissing ifMissing_;
  AttachLock global_;
  AttachLock local_;
  bool globalTried_ = false;
  bool localTried_ = false;
};

bool joinAndMap(SharedObject& object, const PosixName& name, Scope scope, size_t size,
                IfMissing ifMissing) {
  if (!object.join(name, scope, size, ifMissing)) return false;
  if (object.map()) return true;
  object.leave(WhenLast::Remove);
  return false;
}

pthread_mutex_t* joinMutex(SharedObject& object, const PosixName& name, Scope scope,
                           IfMissing ifMissing) {
  if (!joinAndMap(object, name, scope, sizeof(pthread_mutex_t), ifMissing)) return nullptr;
  auto* mutex = static_cast<pthread_mutex_t*>(object.address());
  if (object.fresh() && !initRegionMutex(mutex)) {
    object.leave(WhenLast::Remove);
    return nullptr;
  }
  return mutex;
}

bool joinRegion(LibraryState& state, AttachLocks& locks) {
  if (locks.global() && joinAndMap(state.globalMapping, state.names.global.region, Scope::Global,
                                   state.regionSize, IfMissing::Create)) {
    state.view = static_cast<SharedRegion*>(state.globalMapping.address());
    state.regionName = kGlobalRegionName;
    return true;
  }
  if (locks.local() && joinAndMap(state.localMapping, state.names.local.region, Scope::Local,
                                  state.regionSize, IfMissing::Create)) {
    state.view = static_cast<SharedRegion*>(state.localMapping.address());
    state.regionName = kLocalRegionName;
    return true;
  }
  return false;
}

bool joinLockMutex(LibraryState& state, AttachLocks& locks) {
  if (locks.global()) {
    state.lockMutex =
        joinMutex(state.globalMutex, state.names.global.mutex, Scope::Global, IfMissing::Create);
    if (state.lockMutex != nullptr) {
      state.mutexName = kGlobalMutexName;
      return true;
    }
  }
  if (locks.local()) {
    state.lockMutex =
        joinMutex(state.localMutex, state.names.local.mutex, Scope::Local, IfMissing::Create);
    if (state.lockMutex != nullptr) {
      state.mutexName = kLocalMutexName;
      return true;
    }
  }
  return false;
}

// An object is removed with its last holder only while its scope's attach lock is held, or
// an attach in progress could lose the object it is joining.
void leaveAll(LibraryState& state, AttachLocks& locks) {
  const auto whenLast = [](bool lockHeld) { return lockHeld ? WhenLast::Remove : WhenLast::Keep; };
  const bool holdsGlobal = state.globalMapping.joined() || state.globalMutex.joined();
  const bool holdsLocal = state.localMapping.joined() || state.localMutex.joined();
  const WhenLast global = whenLast(holdsGlobal && locks.global());
  const WhenLast local = whenLast(holdsLocal && locks.local());
  state.regionName = nullptr;
  state.mutexName = nullptr;
  state.lockMutex = nullptr;
  state.view = nullptr;
  state.globalMutex.leave(global);
  state.localMutex.leave(local);
  state.globalMapping.leave(global);
  state.localMapping.leave(local);
}

std::atomic_ref<int16_t> attachCount(SharedRegion& region) {
  return std::atomic_ref<int16_t>(region.attachCount);
}

}  // namespace

void attachProcess() {
  ProcessLocked processLocked;
  LibraryState& state = library;
  if (state.view != nullptr) {
    ++state.attachDepth;
    return;
  }
  state.regionSize = kRegionSize;
  if (!makeObjectNames(state.names)) return;
  AttachLocks locks(state.names, IfMissing::Create);
  if (!joinRegion(state, locks)) return;
  if (!joinLockMutex(state, locks)) {
    leaveAll(state, locks);
    return;
  }
  attachCount(*state.view).fetch_add(1);
  state.attachedProcess = getpid();
  ++state.attachDepth;
}

void detachProcess() {
  ProcessLocked processLocked;
  LibraryState& state = library;
  if (state.attachedProcess != getpid()) return;
  if (state.attachDepth > 0) --state.attachDepth;
  if (state.view == nullptr) return;
  auto count = attachCount(*state.view);
  int16_t seen = count.load();
  while (seen > 0 && !count.compare_exchange_weak(seen, static_cast<int16_t>(seen - 1))) {
  }
  if (state.attachDepth > 0) return;
  AttachLocks locks(state.names, IfMissing::Fail);
  leaveAll(state, locks);
}

int32_t moveToGlobalObjects() {
  ProcessLocked processLocked;
  LibraryState& state = library;
  if (state.view == nullptr || (state.globalMutex.joined() && state.globalMapping.joined())) {
    return 0;
  }
  AttachLocks locks(state.names, IfMissing::Create);
  if (!locks.global()) return 0;
  if (!state.globalMutex.joined()) {
    pthread_mutex_t* mutex =
        joinMutex(state.globalMutex, state.names.global.mutex, Scope::Global, IfMissing::Fail);
    if (mutex != nullptr) {
      state.lockMutex = mutex;
      state.mutexName = kGlobalMutexName;
    }
  }
  if (state.globalMapping.joined() ||
      !joinAndMap(state.globalMapping, state.names.global.region, Scope::Global, state.regionSize,
                  IfMissing::Fail)) {
    return 0;
  }
  const int32_t bits = std::atomic_ref<int32_t>(state.view->runningApps).load();
  state.localMapping.unmap();
  state.view = static_cast<SharedRegion*>(state.globalMapping.address());
  state.regionName = kGlobalRegionName;
  std::atomic_ref<int32_t>(state.view->runningApps).fetch_or(bits);
  return 1;
}

}  // namespace halvane3
