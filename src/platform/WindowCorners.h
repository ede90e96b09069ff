// The window manager's corner style for a window (rounded or square corners).
#pragma once

namespace Platform {

// Asks for the corner preference value (0 default, 1 square, 2 round, 3 small round). Window
// managers without such a setting ignore it.
void SetWindowCornerPreference(void* window, int value);

} // namespace Platform
