// Loading the library attaches the process to the shared region; unloading it, by dlclose
// or at process end, detaches it. The fork handlers go with the library when it is unloaded.
#include "LibraryState.h"

namespace {

__attribute__((constructor)) void onLoad() {
  halvane3::watchForks();
  halvane3::attachProcess();
}

__attribute__((destructor)) void onUnload() {
  halvane3::detachProcess();
}

}  // namespace
