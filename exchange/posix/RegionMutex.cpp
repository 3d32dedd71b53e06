#include "RegionMutex.h"

#include <cerrno>

namespace halvane3 {

bool initRegionMutex(pthread_mutex_t* mutex) {
  pthread_mutexattr_t attributes;
  if (pthread_mutexattr_init(&attributes) != 0) return false;
  const bool initialised = pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED) == 0 &&
                           pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST) == 0 &&
                           pthread_mutex_init(mutex, &attributes) == 0;
  pthread_mutexattr_destroy(&attributes);
  return initialised;
}

LockOutcome recoverRegionMutex(pthread_mutex_t* mutex, int lockResult) {
  if (lockResult == EOWNERDEAD) {
    if (pthread_mutex_consistent(mutex) == 0) return LockOutcome::TakenOverFromDeadOwner;
    pthread_mutex_unlock(mutex);
  }
  return LockOutcome::Unusable;
}

}  // namespace halvane3
