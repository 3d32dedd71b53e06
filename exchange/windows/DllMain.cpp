// The loader's notifications: process attach attaches the process to the shared objects,
// process detach (FreeLibrary or the end of the process) detaches it. A failed attach makes
// the loading fail. Thread notifications need nothing.
#include "LibraryState.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return halvane3::attachProcess() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      halvane3::detachProcess();
      return TRUE;
    default:
      return TRUE;
  }
}
