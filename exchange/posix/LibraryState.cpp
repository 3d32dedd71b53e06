#include "LibraryState.h"

namespace halvane3 {

constinit LibraryState library;

}  // namespace halvane3
