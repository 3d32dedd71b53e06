// Printing on a parallel port. The device is written by a thread of its own, because a
// printer that is off line can block a write for a long time; the caller waits about two
// seconds at most.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "Halvane3.h"
#include "Platform.h"
#include "TextModeWriter.h"

namespace halvane3 {
namespace {

// One job at a time per process.
std::atomic<bool> printBusy{false};

constexpr int kPolls = 400;
constexpr int kPollMilliseconds = 5;

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

PrintJob* makeJob(const char* text, uint16_t port) {
  void* memory = std::malloc(sizeof(PrintJob));
  if (memory == nullptr) return nullptr;
  auto* job = new (memory) PrintJob;
  const size_t length = std::strlen(text);
  job->text = static_cast<char*>(std::malloc(length + 1));
  if (job->text != nullptr) std::memcpy(job->text, text, length + 1);
  if (job->text == nullptr || !printerDevice(port, job->device, sizeof job->device)) {
    job->holders = 1;
    letGo(job);
    return nullptr;
  }
  return job;
}

}  // namespace

void runPrintWriter(void* argument) {
  auto* job = static_cast<PrintJob*>(argument);
  OutputFile device = OutputFile::openDevice(job->device);
  if (device.isOpen()) {
    TextModeWriter writer(device);
    writer.append(job->text);
    const bool written = writer.flush();
    job->result = device.close() && written ? 1 : 0;
  }
  job->done = true;
  printBusy = false;
  letGo(job);
}

}  // namespace halvane3

using namespace halvane3;

extern "C" int16_t HALVANE3_CALL SendPRN(const char* text, int32_t portSlot) {
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
  if (!startPrintWriter(job)) {
    job->holders = 1;
    letGo(job);
    printBusy = false;
    return 0;
  }
  for (int poll = 0; poll < kPolls && !job->done; ++poll)
    sleepMilliseconds(kPollMilliseconds);
  const int16_t result = job->done ? job->result : 0;
  letGo(job);
  return result;
}
