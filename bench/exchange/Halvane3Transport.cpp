#include <dlfcn.h>
#include <sched.h>
#include <sys/mman.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "Halvane3.h"
#include "Transport.h"

namespace {

// Loaded with dlopen, after main has chosen the benchmark's own namespace.
struct Library {
  Library() : handle(dlopen(HALVANE3_LIBRARY_PATH, RTLD_NOW)) {
    if (handle == nullptr) {
      std::fprintf(stderr, "%s\n", dlerror());
      std::exit(1);
    }
    set = reinterpret_cast<decltype(set)>(dlsym(handle, "SetCommandEntry"));
    get = reinterpret_cast<decltype(get)>(dlsym(handle, "GetCommandEntry"));
    clear = reinterpret_cast<decltype(clear)>(dlsym(handle, "ClearCommandQueue"));
  }
  void* handle;
  decltype(&SetCommandEntry) set;
  decltype(&GetCommandEntry) get;
  decltype(&ClearCommandQueue) clear;
};

Library* loaded = nullptr;

Library& library() {
  if (loaded == nullptr) loaded = new Library;
  return *loaded;
}

// The functions are copied out of the library once, so that the loop pays what any caller
// that binds them pays: one indirect call per operation.
class Halvane3Transport : public Transport {
 public:
  Halvane3Transport() : set_(library().set), get_(library().get) { library().clear(0); }

  void send(const char* text, size_t) override { set_(text, 0); }

  size_t receive(char* buffer, size_t size) override {
    int32_t length = static_cast<int32_t>(size);
    return get_(&cursor_, buffer, &length, 0) == 1 ? static_cast<size_t>(length) : 0;
  }

 private:
  decltype(&SetCommandEntry) set_;
  decltype(&GetCommandEntry) get_;
  int32_t cursor_ = -1;
};

struct Pace {
  std::atomic<long> received{0};
};

// For a reader in another process: the writer waits while it is 40 entries ahead.
class PacedHalvane3Transport : public Halvane3Transport {
 public:
  PacedHalvane3Transport() {
    void* shared =
        mmap(nullptr, sizeof(Pace), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    pace_ = new (shared) Pace;
  }
  ~PacedHalvane3Transport() override { munmap(pace_, sizeof(Pace)); }

  void send(const char* text, size_t length) override {
    while (sent_ - pace_->received.load(std::memory_order_acquire) >= 40)
      sched_yield();
    Halvane3Transport::send(text, length);
    ++sent_;
  }

  size_t receive(char* buffer, size_t size) override {
    const size_t length = Halvane3Transport::receive(buffer, size);
    if (length > 0) pace_->received.fetch_add(1, std::memory_order_release);
    return length;
  }

 private:
  Pace* pace_;
  long sent_ = 0;
};

}  // namespace

std::unique_ptr<Transport> makeHalvane3Transport(bool paced) {
  if (paced) return std::make_unique<PacedHalvane3Transport>();
  return std::make_unique<Halvane3Transport>();
}

void unloadHalvane3() {
  if (loaded == nullptr) return;
  dlclose(loaded->handle);
  delete loaded;
  loaded = nullptr;
}
