#include "config/HostWindow.h"

namespace Halvane_Config {

Variant CallHost(HostWindow& host, std::u16string_view operation,
                 std::initializer_list<Variant> arguments) {
  return host.CallByName(operation, std::span<const Variant>(arguments.begin(), arguments.size()));
}

}  // namespace Halvane_Config
