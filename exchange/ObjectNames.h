// How the names the library reports map onto POSIX shared-memory object names (see the
// header Halvane3.h for the table).
#pragma once

#include "ObjectAccess.h"

namespace halvane3 {

inline constexpr const char* kGlobalRegionName = "Global\\QorShareView3";
inline constexpr const char* kLocalRegionName = "QorShareView3";
inline constexpr const char* kGlobalMutexName = "Global\\QorStructMutEx3";
inline constexpr const char* kLocalMutexName = "QorStructMutEx3";

// Room for any name shm_open accepts.
struct PosixName {
  char text[256] = {};
};

struct ScopeNames {
  PosixName region;
  PosixName mutex;
  PosixName attachLock;
  ObjectAccess access;
};

struct ObjectNames {
  ScopeNames global;
  ScopeNames local;
};

// Builds every name from HALVANE3_NAME_PREFIX and the effective user, and the access of each
// scope's objects from HALVANE3_GROUP. False when the prefix makes a name invalid for
// shm_open.
bool makeObjectNames(ObjectNames& names);

}  // namespace halvane3
