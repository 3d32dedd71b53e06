// The printer's device, writer thread and pauses on POSIX systems.
#include <dlfcn.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "Halvane3.h"
#include "Platform.h"

namespace halvane3 {
namespace {

void* writerThread(void* job) {
  runPrintWriter(job);
  return nullptr;
}

}  // namespace

// "LPT<port+1>:" is the device lp<port> in HALVANE3_LPT_DIR, /dev by default.
bool printerDevice(uint16_t port, char* device, size_t size) {
  const char* folder = std::getenv("HALVANE3_LPT_DIR");
  if (folder == nullptr || folder[0] == '\0') folder = "/dev";
  const int length = std::snprintf(device, size, "%s/lp%u", folder, static_cast<unsigned>(port));
  return length >= 0 && static_cast<size_t>(length) < size;
}

// The writer runs with every signal blocked: signals belong to the caller's threads, and
// a SIGPIPE from a device must not end the process.
bool startPrintWriter(void* job) {
  sigset_t all;
  sigset_t previous;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &previous);
  pthread_t thread;
  const bool started = pthread_create(&thread, nullptr, writerThread, job) == 0;
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  if (started) pthread_detach(thread);
  return started;
}

// Once a job has started, dlclose leaves the library in place.
void keepLibraryLoaded() {
  static std::atomic<bool> kept{false};
  if (kept.exchange(true)) return;
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&SendPRN), &info) != 0 && info.dli_fname != nullptr) {
    dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
}

void sleepMilliseconds(int milliseconds) {
  const timespec pause{milliseconds / 1000, (milliseconds % 1000) * 1'000'000L};
  nanosleep(&pause, nullptr);
}

}  // namespace halvane3
