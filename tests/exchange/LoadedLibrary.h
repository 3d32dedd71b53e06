// The library loaded at run time (dlopen, LoadLibraryA) rather than linked, so that it
// attaches only after the test has chosen its namespace, and so that a test can unload and
// load it again. Every export is bound by its plain name.
#pragma once

#include "Halvane3.h"

class LoadedLibrary {
  // Declared first: the function pointers below are bound from it as they are initialised.
  void* handle_;

 public:
  LoadedLibrary();
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

#define HALVANE3_BIND(name) decltype(&::name) name = bind<decltype(&::name)>(#name)
  HALVANE3_BIND(GetShareViewName);
  HALVANE3_BIND(GetShareMutexName);
  HALVANE3_BIND(CyclicCleanup);
  HALVANE3_BIND(SetSysLogEntry);
  HALVANE3_BIND(GetSysLogEntry);
  HALVANE3_BIND(ClearSysLogQueue);
  HALVANE3_BIND(SetTreeViewEntry);
  HALVANE3_BIND(GetTreeViewEntry);
  HALVANE3_BIND(ClearTreeViewQueue);
  HALVANE3_BIND(SetDebugEntry);
  HALVANE3_BIND(GetDebugEntry);
  HALVANE3_BIND(ClearDebugQueue);
  HALVANE3_BIND(SetCommandEntry);
  HALVANE3_BIND(GetCommandEntry);
  HALVANE3_BIND(ClearCommandQueue);
  HALVANE3_BIND(SetSysInfo);
  HALVANE3_BIND(GetSysInfo);
  HALVANE3_BIND(GetRunningApps);
  HALVANE3_BIND(SetRunningApps);
  HALVANE3_BIND(IncreaseWatchdog);
  HALVANE3_BIND(ReadWatchdog);
  HALVANE3_BIND(SendPRN);
  HALVANE3_BIND(GetHalvaneDLLVersion);
#undef HALVANE3_BIND

 private:
  template <typename Function>
  Function bind(const char* name) {
    return reinterpret_cast<Function>(symbol(name));
  }
  void* symbol(const char* name);
};
