#include <pthread.h>
#include <sys/mman.h>

#include <cstring>

#include "SharedRegion.h"
#include "Transport.h"

namespace {

using halvane3::kCommandCapacity;
using halvane3::kCommandTextSize;
using halvane3::SharedRegion;

// The library's own memory layout, a region and a separate mutex object, so that the copies
// go to the same page offsets; command queue 0's slots are written and read in turn, behind
// a process lock and a robust process-shared mutex taken and released as the library does.
// No ring fields, no checks: only the locks and the copies.
class FloorTransport : public Transport {
 public:
  FloorTransport() {
    region_ = static_cast<SharedRegion*>(mapShared(sizeof(SharedRegion)));
    mutex_ = static_cast<pthread_mutex_t*>(mapShared(sizeof(pthread_mutex_t)));
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
    pthread_mutex_init(mutex_, &attributes);
    pthread_mutexattr_destroy(&attributes);
  }
  ~FloorTransport() override {
    munmap(mutex_, sizeof(pthread_mutex_t));
    munmap(region_, sizeof(SharedRegion));
  }

  void send(const char* text, size_t) override {
    lock();
    char* slot = region_->commandEntries[0][sent_++ % kCommandCapacity];
    const size_t length = strnlen(text, kCommandTextSize - 1);
    std::memcpy(slot, text, length);
    slot[length] = '\0';
    unlock();
  }

  size_t receive(char* buffer, size_t size) override {
    lock();
    const char* slot = region_->commandEntries[0][received_++ % kCommandCapacity];
    const size_t stored = strnlen(slot, kCommandTextSize - 1);
    const size_t length = stored < size ? stored : size - 1;
    std::memcpy(buffer, slot, length);
    buffer[length] = '\0';
    unlock();
    return length;
  }

 private:
  static void* mapShared(size_t size) {
    return mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  }
  void lock() {
    pthread_mutex_lock(&processLock_);
    pthread_mutex_lock(mutex_);
  }
  void unlock() {
    pthread_mutex_unlock(mutex_);
    pthread_mutex_unlock(&processLock_);
  }

  pthread_mutex_t processLock_ = PTHREAD_MUTEX_INITIALIZER;
  SharedRegion* region_;
  pthread_mutex_t* mutex_;
  unsigned sent_ = 0;
  unsigned received_ = 0;
};

}  // namespace

std::unique_ptr<Transport> makeFloorTransport() {
  return std::make_unique<FloorTransport>();
}
