#include "LibraryState.h"

namespace halvane3 {

LibraryState library;

}  // namespace halvane3
