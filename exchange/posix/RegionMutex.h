// The mutex that serialises the region across processes. It is robust: a process that dies
// while holding it cannot block the others, the next one to lock it takes it over.
#pragma once

#include <pthread.h>

namespace halvane3 {

enum class LockOutcome {
  Acquired,
  // The previous owner ended while holding the mutex. The region may show a half-done
  // operation of that owner; the rings stay usable, since every slot index is checked.
  TakenOverFromDeadOwner,
  // Someone took the mutex over and released it without declaring it consistent; the mutex
  // can never be locked again.
  Unusable,
};

// Initialises a mutex in freshly zeroed shared memory, process-shared and robust.
bool initRegionMutex(pthread_mutex_t* mutex);
// The rare outcomes of a lock that did not simply succeed.
LockOutcome recoverRegionMutex(pthread_mutex_t* mutex, int lockResult);
// Waits without time-out. The mutex is held unless the outcome is Unusable.
inline LockOutcome lockRegionMutex(pthread_mutex_t* mutex) {
  const int result = pthread_mutex_lock(mutex);
  if (result == 0) return LockOutcome::Acquired;
  return recoverRegionMutex(mutex, result);
}
inline void unlockRegionMutex(pthread_mutex_t* mutex) {
  pthread_mutex_unlock(mutex);
}

}  // namespace halvane3
