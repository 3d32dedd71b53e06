// Printing on a parallel port. The device is written by a thread of its own, because a
// printer that is off line can block a write for a long time; the caller waits about two
// seconds at most.
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#include "Halvane3.h"
#include "TextModeWriter.h"

namespace {

// One job at a time per process.
std::atomic<bool> printBusy{false};

// Shared by the caller and the writer; whichever lets go last frees it, since the caller
// may give up waiting long before the writer ends.
struct PrintJob {
  std::atomic<int> holders{2};
  std::atomic<bool> done{false};
  int16_t result = 0;
  char device[4096];
  char* text = nullptr;
};

void letGo(PrintJob* job) {
  if (job->holders.fetch_sub(1) != 1) return;
  std::free(job->text);
  job->~PrintJob();
  std::free(job);
}

void* printWriter(void* argument) {
  auto* job = static_cast<PrintJob*>(argument);
  // Appending, so that a plain file in the device folder collects every job.
  const int fd = open(job->device, O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
  if (fd >= 0) {
    halvane3::TextModeWriter writer(fd);
    writer.append(job->text);
    const bool written = writer.flush();
    job->result = close(fd) == 0 && written ? 1 : 0;
  }
  job->done = true;
  printBusy = false;
  letGo(job);
  return nullptr;
}

// A writer may outlive every wait, so the library must not be unloaded under it: once a
// job has started, dlclose leaves the library in place.
void keepLibraryLoaded() {
  static std::atomic<bool> kept{false};
  if (kept.exchange(true)) return;
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&SendPRN), &info) != 0 && info.dli_fname != nullptr) {
    dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
}

// "LPT<port+1>:" is the device lp<port> in HALVANE3_LPT_DIR, /dev by default.
PrintJob* makeJob(const char* text, uint16_t port) {
  void* memory = std::malloc(sizeof(PrintJob));
  if (memory == nullptr) return nullptr;
  auto* job = new (memory) PrintJob;
  const char* folder = std::getenv("HALVANE3_LPT_DIR");
  if (folder == nullptr || folder[0] == '\0') folder = "/dev";
  const int length = std::snprintf(job->device, sizeof job->device, "%s/lp%u", folder,
                                   static_cast<unsigned>(port));
  job->text = strdup(text);
  if (length < 0 || static_cast<size_t>(length) >= sizeof job->device || job->text == nullptr) {
    job->holders = 1;
    letGo(job);
    return nullptr;
  }
  return job;
}

// The writer runs with every signal blocked: signals belong to the caller's threads, and
// a SIGPIPE from a device must not end the process.
bool startWriter(PrintJob* job) {
  sigset_t all;
  sigset_t previous;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &previous);
  pthread_t thread;
  const bool started = pthread_create(&thread, nullptr, printWriter, job) == 0;
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  if (started) pthread_detach(thread);
  return started;
}

void sleepMilliseconds(long milliseconds) {
  const timespec pause{0, milliseconds * 1'000'000};
  nanosleep(&pause, nullptr);
}

}  // namespace

extern "C" int16_t SendPRN(const char* text, int32_t portSlot) {
  if (text == nullptr) return 0;
  // Claimed here rather than by the writer, so that two threads cannot both start a job.
  bool idle = false;
  if (!printBusy.compare_exchange_strong(idle, true)) return 0;
  PrintJob* job = makeJob(text, static_cast<uint16_t>(portSlot));
  if (job == nullptr) {
    printBusy = false;
    return 0;
  }
  keepLibraryLoaded();
  if (!startWriter(job)) {
    job->holders = 1;
    letGo(job);
    printBusy = false;
    return 0;
  }
  for (int poll = 0; poll < 400 && !job->done; ++poll)
    sleepMilliseconds(5);
  const int16_t result = job->done ? job->result : 0;
  letGo(job);
  return result;
}
