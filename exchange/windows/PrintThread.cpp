// The printer's device, writer thread and pauses on Windows.
#include <process.h>

#include <cstdio>

#include "Halvane3.h"
#include "LibraryState.h"
#include "Platform.h"

namespace halvane3 {
namespace {

unsigned __stdcall writerThread(void* job) {
  runPrintWriter(job);
  return 0;
}

}  // namespace

bool printerDevice(uint16_t port, char* device, size_t size) {
  const int length = std::snprintf(device, size, "LPT%u:", static_cast<unsigned>(port) + 1);
  return length >= 0 && static_cast<size_t>(length) < size;
}

// Started by the runtime library, with the default stack size.
bool startPrintWriter(void* job) {
  const uintptr_t thread = _beginthreadex(nullptr, 0, writerThread, job, 0, nullptr);
  if (thread == 0) return false;
  CloseHandle(reinterpret_cast<HANDLE>(thread));
  return true;
}

// Once a job has started, FreeLibrary leaves the library in place.
void keepLibraryLoaded() {
  HMODULE module;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<const char*>(&SendPRN), &module);
}

void sleepMilliseconds(int milliseconds) {
  Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace halvane3
