// A forked child that outlives its parent keeps the region. A child shares its parent's open
// file descriptions and with them the parent's locks, so by those alone the parent's detach
// would take itself for the last holder and remove the names under the child. Before every
// fork the process therefore opens each of its objects once more and holds it there, and
// the child keeps that hold as its own: from then on it is an attached process like any
// other, and its detach leaves the objects to the others or, as the last one, removes them.
// The process lock is held across the fork, so that the child never copies the library's
// state half-changed by another thread.
#include <pthread.h>
#include <unistd.h>

#include <atomic>

#include "LibraryState.h"

namespace halvane3 {
namespace {

SharedObject* const kObjects[] = {&library.globalMapping, &library.localMapping,
                                  &library.globalMutex, &library.localMutex};

// The thread that holds the process lock across its fork, if any. Another thread that forks
// at the same time may give up waiting for the lock, and must then leave it alone.
std::atomic<pthread_t> lockedForFork{};

bool holdsLockForFork() {
  return pthread_equal(lockedForFork.load(), pthread_self()) != 0;
}

void releaseLockForFork() {
  lockedForFork.store(pthread_t{});
  pthread_mutex_unlock(&library.processLock);
}

void beforeFork() {
  // A thread of this process may be stuck in a locked operation behind a region mutex
  // that somebody else holds; the fork does not wait for it long.
  if (!lockProcessBefore(Deadline::in(kGlobalLockWaitMilliseconds))) return;
  lockedForFork.store(pthread_self());
  bool holds = library.view != nullptr && library.attachedProcess == getpid();
  for (SharedObject* object : kObjects)
    holds = holds && object->holdForChild();
  library.childHolds = holds;
}

void inParent() {
  if (!holdsLockForFork()) return;
  for (SharedObject* object : kObjects)
    object->afterForkInParent();
  releaseLockForFork();
}

void inChild() {
  if (!holdsLockForFork()) {
    // Held by a thread that the child does not have.
    pthread_mutex_init(&library.processLock, nullptr);
    return;
  }
  for (SharedObject* object : kObjects)
    object->afterForkInChild(library.childHolds);
  if (library.childHolds) {
    library.attachedProcess = getpid();
    library.countAtFirstCall = true;
  }
  releaseLockForFork();
}

}  // namespace

void watchForks() {
  pthread_atfork(beforeFork, inParent, inChild);
}

}  // namespace halvane3
