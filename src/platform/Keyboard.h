// Synthetic keyboard input.
#pragma once

#include <cstdint>

namespace Platform {

// Presses and releases the key of a Windows virtual-key code (0x41 'A', 0x0D Return, 0x70 F1, ...)
// as if the user had, for whichever window has the keyboard focus. False when the code has no key
// here or no input can be synthesised; where the system lets no program inject input, only the
// program's own focused window receives it.
bool PressVirtualKey(std::uint16_t virtualKey);

} // namespace Platform
