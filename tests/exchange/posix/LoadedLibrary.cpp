#include "LoadedLibrary.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

LoadedLibrary::LoadedLibrary() : handle_(dlopen(HALVANE3_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) {
  if (handle_ == nullptr) ADD_FAILURE() << dlerror();
}

LoadedLibrary::~LoadedLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

void* LoadedLibrary::symbol(const char* name) {
  void* address = handle_ != nullptr ? dlsym(handle_, name) : nullptr;
  if (address == nullptr) ADD_FAILURE() << "missing export " << name;
  return address;
}
