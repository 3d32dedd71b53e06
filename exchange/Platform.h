// What the library needs from the platform it runs on. The queues, the shared values, the
// name queries, the system-log file and printing are the same code on every platform; what
// differs is declared here and implemented once per platform, in its own folder (posix/,
// windows/), which the build puts on the include path:
//
// - the named region and mutex, attach at load and detach at unload, the move to the global
//   objects and the names in use (posix/Attachment.cpp, windows/Attachment.cpp);
// - the locks every export takes. They are on every export's path, so each platform's
//   LibraryState.h gives them inline:
//     ProcessLocked  holds the process lock while it lives; region() is the process's view
//                    of the region, or null when it has none;
//     LockedRegion   holds the process lock, then the region mutex; region() is null when
//                    the process has no region or the mutex cannot be had;
// - files and devices written by the system log and the printer, the printer's device name,
//   its writer thread and the pauses of its wait.
#pragma once

#include <cstddef>
#include <cstdint>

#include "LibraryState.h"

namespace halvane3 {

// The names reported by GetShareViewName and GetShareMutexName; null when the process has
// no object.
const char* regionNameInUse();
const char* mutexNameInUse();
// Moves a process on the local objects to the global ones; 1 when the region moved.
int32_t moveToGlobalObjects();

// A log file or printer device, written as raw bytes (TextModeWriter makes the line ends).
class OutputFile {
 public:
  // Opens a log file for appending, creating it when it is missing.
  static OutputFile appendToLog(const char* path);
  // Opens a printer device, which is never created.
  static OutputFile openDevice(const char* device);

  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() { close(); }

  bool isOpen() const { return handle_ != kClosed; }
  // True when every byte was written.
  bool write(const char* bytes, size_t length);
  // True when the file was open and closed without error.
  bool close();

 private:
  static constexpr intptr_t kClosed = -1;
  explicit OutputFile(intptr_t handle) : handle_(handle) {}

  // A descriptor or a handle, as the platform has it.
  intptr_t handle_;
};

// The device of parallel port `port` (0 is "LPT1:"); false when the name does not fit.
bool printerDevice(uint16_t port, char* device, size_t size);
// Runs runPrintWriter(job) on a thread of its own that nobody joins; false when it cannot
// start.
bool startPrintWriter(void* job);
// The print writer (Printer.cpp), for the platform's thread.
void runPrintWriter(void* job);
// Keeps the library loaded until the process ends, for a writer that may outlive any wait.
void keepLibraryLoaded();
void sleepMilliseconds(int milliseconds);

}  // namespace halvane3
