// The names of the shared objects as the name queries report them. Each platform maps them
// onto its own objects.
#pragma once

namespace halvane3 {

inline constexpr const char* kGlobalRegionName = "Global\\QorShareView3";
inline constexpr const char* kLocalRegionName = "QorShareView3";
inline constexpr const char* kGlobalMutexName = "Global\\QorStructMutEx3";
inline constexpr const char* kLocalMutexName = "QorStructMutEx3";

}  // namespace halvane3
