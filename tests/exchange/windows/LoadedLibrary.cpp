// Halvane3.dll loaded by file name, from the test program's folder first, and every export
// bound by its plain name, the way the family's programs bind it.
#define WIN32_LEAN_AND_MEAN
#include "LoadedLibrary.h"

#include <gtest/gtest.h>
#include <windows.h>

LoadedLibrary::LoadedLibrary() : handle_(LoadLibraryA(HALVANE3_LIBRARY_PATH)) {
  if (handle_ == nullptr) ADD_FAILURE() << "LoadLibraryA failed with error " << GetLastError();
}

LoadedLibrary::~LoadedLibrary() {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* LoadedLibrary::symbol(const char* name) {
  void* address = handle_ != nullptr
                      ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name))
                      : nullptr;
  if (address == nullptr) ADD_FAILURE() << "missing export " << name;
  return address;
}
