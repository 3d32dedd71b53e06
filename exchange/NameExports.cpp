// The names in use and the move from the local objects to the global ones.
#include <cstring>

#include "Halvane3.h"
#include "Platform.h"

using namespace halvane3;

namespace {

// Like strncpy into a buffer of `size` bytes (the low 16 bits of the slot), always
// NUL-terminated. A process without the object reports the empty name.
int16_t copyName(const char* name, char* buffer, int32_t sizeSlot) {
  const auto size = static_cast<uint16_t>(sizeSlot);
  if (size == 0 || buffer == nullptr) return 0;
  std::strncpy(buffer, name != nullptr ? name : "", size);
  buffer[size - 1] = '\0';
  return static_cast<int16_t>(std::strlen(buffer));
}

}  // namespace

extern "C" {

int16_t HALVANE3_CALL GetShareViewName(char* buffer, int32_t size) {
  return copyName(regionNameInUse(), buffer, size);
}

int16_t HALVANE3_CALL GetShareMutexName(char* buffer, int32_t size) {
  return copyName(mutexNameInUse(), buffer, size);
}

int32_t HALVANE3_CALL CyclicCleanup(int32_t, int32_t* switched) {
  const int32_t moved = moveToGlobalObjects();
  if (switched != nullptr) *switched = moved;
  return moved;
}

}  // extern "C"
