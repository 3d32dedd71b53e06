// On Windows the library uses the platform's names as they are: the tests run one at a time
// in a Wine prefix of their own. The printer ports LPT1: to LPT4: of that prefix are links to
// the files printer1.txt to printer4.txt in the folder named by HALVANE3_TEST_PRINTERS
// (scripts/test-windows.sh makes them; a file named like the device would be the device).
#define WIN32_LEAN_AND_MEAN
#include "TestNamespace.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>

TestNamespace::TestNamespace() {
  static int created = 0;
  char temporary[MAX_PATH];
  GetTempPathA(sizeof temporary, temporary);
  folder_ = std::string(temporary) + "halvane3-test-" + std::to_string(GetCurrentProcessId()) +
            "n" + std::to_string(created++);
  CreateDirectoryA(folder_.c_str(), nullptr);
}

TestNamespace::~TestNamespace() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string TestNamespace::printerDevice(int port) const {
  const char* printers = std::getenv("HALVANE3_TEST_PRINTERS");
  return std::string(printers != nullptr ? printers : "<HALVANE3_TEST_PRINTERS unset>") +
         "\\printer" + std::to_string(port + 1) + ".txt";
}

std::string TestNamespace::regionObjectName() const {
  return "Global\\QorShareView3";
}

bool TestNamespace::globalObjectsExist() const {
  const HANDLE region = OpenFileMappingA(FILE_MAP_READ, FALSE, "Global\\QorShareView3");
  const HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "Global\\QorStructMutEx3");
  for (HANDLE handle : {region, mutex}) {
    if (handle != nullptr) CloseHandle(handle);
  }
  return region != nullptr || mutex != nullptr;
}
