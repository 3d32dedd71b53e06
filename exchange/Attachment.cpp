// Attach, detach and the move to the global objects.
#include <unistd.h>

#include <atomic>

#include "LibraryState.h"
#include "RegionMutex.h"

namespace halvane3 {
namespace {

constexpr int kMoveLockWaitMilliseconds = 50;

struct LockDeadlines {
  Deadline global;
  Deadline local;
};

// The waits of an attach or a detach from its start: about a second in all.
LockDeadlines stepDeadlines() {
  return {Deadline::in(kGlobalLockWaitMilliseconds), Deadline::in(kLockWaitMilliseconds)};
}

// Takes the attach locks that a step needs, always the global one before the local one, and
// releases them when the step ends. A lock held elsewhere is waited for until its deadline
// only. Leaving never creates a lock object: one that is gone was removed on purpose (by
// whoever cleaned up the namespace), and the objects it guarded are then left for the next
// attach to find abandoned.
class AttachLocks {
 public:
  AttachLocks(const ObjectNames& names, IfMissing ifMissing, const LockDeadlines& deadlines)
      : names_(names), ifMissing_(ifMissing), deadlines_(deadlines) {}

  bool global() { return take(global_, globalTried_, names_.global, deadlines_.global); }
  bool local() { return take(local_, localTried_, names_.local, deadlines_.local); }

 private:
  bool take(AttachLock& lock, bool& tried, const ScopeNames& scope, const Deadline& deadline) {
    if (!tried) {
      tried = true;
      lock.acquire(scope.attachLock, scope.access, ifMissing_, deadline);
    }
    return lock.held();
  }

  const ObjectNames& names_;
  IfMissing ifMissing_;
  LockDeadlines deadlines_;
  AttachLock global_;
  AttachLock local_;
  bool globalTried_ = false;
  bool localTried_ = false;
};

bool joinAndMap(SharedObject& object, const PosixName& name, const ObjectAccess& access,
                size_t size, IfMissing ifMissing) {
  if (!object.join(name, access, size, ifMissing)) return false;
  if (object.map()) return true;
  object.leave(WhenLast::Remove);
  return false;
}

pthread_mutex_t* joinMutex(SharedObject& object, const ScopeNames& scope, IfMissing ifMissing) {
  if (!joinAndMap(object, scope.mutex, scope.access, sizeof(pthread_mutex_t), ifMissing)) {
    return nullptr;
  }
  auto* mutex = static_cast<pthread_mutex_t*>(object.address());
  if (object.fresh() && !initRegionMutex(mutex)) {
    object.leave(WhenLast::Remove);
    return nullptr;
  }
  return mutex;
}

bool joinRegion(LibraryState& state, AttachLocks& locks) {
  const ScopeNames& global = state.names.global;
  const ScopeNames& local = state.names.local;
  if (locks.global() && joinAndMap(state.globalMapping, global.region, global.access,
                                   state.regionSize, IfMissing::Create)) {
    state.view = static_cast<SharedRegion*>(state.globalMapping.address());
    state.regionName = kGlobalRegionName;
    return true;
  }
  if (locks.local() && joinAndMap(state.localMapping, local.region, local.access, state.regionSize,
                                  IfMissing::Create)) {
    state.view = static_cast<SharedRegion*>(state.localMapping.address());
    state.regionName = kLocalRegionName;
    return true;
  }
  return false;
}

bool joinLockMutex(LibraryState& state, AttachLocks& locks) {
  if (locks.global()) {
    state.lockMutex = joinMutex(state.globalMutex, state.names.global, IfMissing::Create);
    if (state.lockMutex != nullptr) {
      state.mutexName = kGlobalMutexName;
      return true;
    }
  }
  if (locks.local()) {
    state.lockMutex = joinMutex(state.localMutex, state.names.local, IfMissing::Create);
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

void detachUnderProcessLock(LibraryState& state, const LockDeadlines& deadlines) {
  if (state.attachedProcess != getpid()) return;
  if (state.attachDepth > 0) --state.attachDepth;
  if (state.view == nullptr) return;
  if (!state.countAtFirstCall) {
    auto count = attachCount(*state.view);
    int16_t seen = count.load();
    while (seen > 0 && !count.compare_exchange_weak(seen, static_cast<int16_t>(seen - 1))) {
    }
  }
  if (state.attachDepth > 0) return;
  AttachLocks locks(state.names, IfMissing::Fail, deadlines);
  leaveAll(state, locks);
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
  AttachLocks locks(state.names, IfMissing::Create, stepDeadlines());
  if (!joinRegion(state, locks)) return;
  if (!joinLockMutex(state, locks)) {
    leaveAll(state, locks);
    return;
  }
  attachCount(*state.view).fetch_add(1);
  state.attachedProcess = getpid();
  ++state.attachDepth;
}

// A process whose detach cannot get the locks in time leaves without its bookkeeping, the
// way a killed one does: the names stay, and the next attach finds the objects unheld and
// starts them afresh.
void detachProcess() {
  const LockDeadlines deadlines = stepDeadlines();
  if (!lockProcessBefore(deadlines.global)) return;
  detachUnderProcessLock(library, deadlines);
  pthread_mutex_unlock(&library.processLock);
}

void countForkedChild() {
  library.countAtFirstCall = false;
  if (library.view != nullptr) attachCount(*library.view).fetch_add(1);
}

int32_t moveToGlobalObjects() {
  ProcessLocked processLocked;
  LibraryState& state = library;
  if (state.view == nullptr || (state.globalMutex.joined() && state.globalMapping.joined())) {
    return 0;
  }
  // A lock held elsewhere is not waited for long: the next call tries again.
  const Deadline soon = Deadline::in(kMoveLockWaitMilliseconds);
  AttachLocks locks(state.names, IfMissing::Create, {soon, soon});
  if (!locks.global()) return 0;
  if (!state.globalMutex.joined()) {
    pthread_mutex_t* mutex = joinMutex(state.globalMutex, state.names.global, IfMissing::Fail);
    if (mutex != nullptr) {
      state.lockMutex = mutex;
      state.mutexName = kGlobalMutexName;
    }
  }
  if (state.globalMapping.joined() ||
      !joinAndMap(state.globalMapping, state.names.global.region, state.names.global.access,
                  state.regionSize, IfMissing::Fail)) {
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
