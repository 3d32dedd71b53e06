// Attach, detach and the move to the global objects, with the platform's named objects: a
// file mapping backed by the paging file and a mutex, each tried under its global name first.
#include <atomic>
#include <cstring>

#include "LibraryState.h"
#include "Platform.h"
#include "SharedNames.h"

namespace halvane3 {
namespace {

// Security attributes whose descriptor has a present, null DACL, so that every account may
// open the objects; default security when the descriptor cannot be built. Handles are
// inheritable either way.
class OpenToEveryone {
 public:
  OpenToEveryone() {
    descriptor_ = LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH);
    if (descriptor_ != nullptr &&
        (!InitializeSecurityDescriptor(descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
         !SetSecurityDescriptorDacl(descriptor_, TRUE, nullptr, FALSE))) {
      LocalFree(descriptor_);
      descriptor_ = nullptr;
    }
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = descriptor_;
    attributes_.bInheritHandle = TRUE;
  }
  ~OpenToEveryone() {
    if (descriptor_ != nullptr) LocalFree(descriptor_);
  }
  OpenToEveryone(const OpenToEveryone&) = delete;
  OpenToEveryone& operator=(const OpenToEveryone&) = delete;

  SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

 private:
  void* descriptor_;
  SECURITY_ATTRIBUTES attributes_{};
};

void closeHandle(HANDLE& handle) {
  if (handle != nullptr) CloseHandle(handle);
  handle = nullptr;
}

SharedRegion* mapWhole(HANDLE mapping, SIZE_T size) {
  return static_cast<SharedRegion*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, size));
}

// Creates or opens the mapping and maps all of it; on success `created` tells whether this
// call made the object.
SharedRegion* createAndMap(HANDLE& mapping, const char* name, SECURITY_ATTRIBUTES* security,
                           SIZE_T size, bool& created) {
  mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, security, PAGE_READWRITE, 0,
                               static_cast<DWORD>(size), name);
  if (mapping == nullptr) return nullptr;
  created = GetLastError() != ERROR_ALREADY_EXISTS;
  SharedRegion* view = mapWhole(mapping, size);
  if (view == nullptr) closeHandle(mapping);
  return view;
}

bool joinRegion(LibraryState& state, SECURITY_ATTRIBUTES* security) {
  bool created = false;
  state.view =
      createAndMap(state.globalMapping, kGlobalRegionName, security, state.regionSize, created);
  state.usingGlobalRegion = state.view != nullptr;
  if (state.view == nullptr) {
    state.view =
        createAndMap(state.localMapping, kLocalRegionName, security, state.regionSize, created);
  }
  if (state.view == nullptr) return false;
  if (created) std::memset(state.view, 0, state.regionSize);
  return true;
}

bool joinMutex(LibraryState& state, SECURITY_ATTRIBUTES* security) {
  state.globalMutex = CreateMutexA(security, FALSE, kGlobalMutexName);
  state.usingGlobalMutex = state.globalMutex != nullptr;
  if (state.globalMutex == nullptr)
    state.localMutex = CreateMutexA(security, FALSE, kLocalMutexName);
  state.lockMutex = state.usingGlobalMutex ? state.globalMutex : state.localMutex;
  return state.lockMutex != nullptr;
}

void closeAll(LibraryState& state) {
  closeHandle(state.globalMutex);
  closeHandle(state.localMutex);
  state.lockMutex = nullptr;
  if (state.view != nullptr) UnmapViewOfFile(state.view);
  state.view = nullptr;
  closeHandle(state.globalMapping);
  closeHandle(state.localMapping);
  state.usingGlobalRegion = false;
  state.usingGlobalMutex = false;
}

std::atomic_ref<int16_t> attachCount(SharedRegion& region) {
  return std::atomic_ref<int16_t>(region.attachCount);
}

}  // namespace

bool attachProcess() {
  LibraryState& state = library;
  if (state.view != nullptr) {
    ++state.attachDepth;
    return true;
  }
  InitializeCriticalSection(&state.processLock);
  OpenToEveryone security;
  state.regionSize = kRegionSize;
  if (!joinRegion(state, security.attributes()) || !joinMutex(state, security.attributes())) {
    // What was obtained goes again: the library is not loaded after all.
    closeAll(state);
    DeleteCriticalSection(&state.processLock);
    return false;
  }
  attachCount(*state.view).fetch_add(1);
  ++state.attachDepth;
  return true;
}

void detachProcess() {
  LibraryState& state = library;
  if (state.attachDepth > 0) --state.attachDepth;
  if (state.view != nullptr) {
    auto count = attachCount(*state.view);
    int16_t seen = count.load();
    while (seen > 0 && !count.compare_exchange_weak(seen, static_cast<int16_t>(seen - 1))) {
    }
  }
  if (state.attachDepth > 0 || state.view == nullptr) return;
  closeAll(state);
  DeleteCriticalSection(&state.processLock);
}

const char* regionNameInUse() {
  return library.usingGlobalRegion ? kGlobalRegionName : kLocalRegionName;
}

const char* mutexNameInUse() {
  return library.usingGlobalMutex ? kGlobalMutexName : kLocalMutexName;
}

// The local handles stay open until detach; the local view goes once the global one is
// mapped.
int32_t moveToGlobalObjects() {
  ProcessLocked processLocked;
  LibraryState& state = library;
  if (state.globalMutex == nullptr) {
    state.globalMutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kGlobalMutexName);
    if (state.globalMutex != nullptr) {
      state.lockMutex = state.globalMutex;
      state.usingGlobalMutex = true;
    }
  }
  if (state.globalMapping != nullptr) return 0;
  state.globalMapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, kGlobalRegionName);
  if (state.globalMapping == nullptr) return 0;
  SharedRegion* global = mapWhole(state.globalMapping, state.regionSize);
  if (global == nullptr) {
    closeHandle(state.globalMapping);
    return 0;
  }
  state.usingGlobalRegion = true;
  const int32_t bits = std::atomic_ref<int32_t>(state.view->runningApps).load();
  UnmapViewOfFile(state.view);
  state.view = global;
  std::atomic_ref<int32_t>(state.view->runningApps).fetch_or(bits);
  return 1;
}

}  // namespace halvane3
