// Colours in the settings' format and the system colours they may name.
#pragma once

#include <cstdint>

namespace Corvane::Runtime {

// The colour as 0x00BBGGRR. A negative value ($FF0000nn) names system colour nn, which gets the
// system's standard value (black for an index the system does not have); any other value is a colour
// itself, of which the low 24 bits count.
std::uint32_t ColorToRGB(std::int32_t color);

} // namespace Corvane::Runtime
