// Constants shared by the alarm server's programs.
#pragma once

#include <cstdint>

namespace Halvane_Common_Constants {

// Slots of the SCADA system catalogue: system numbers 0..63.
inline constexpr int kScadaSystemSlots = 64;

// "Generic TCP (Client)": the system an alarm is reported for when none is chosen.
inline constexpr std::int16_t kGenericTcpClientSystem = 18;

}  // namespace Halvane_Common_Constants
