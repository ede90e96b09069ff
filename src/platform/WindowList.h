// The captions of the desktop's top-level windows.
#pragma once

#include <string>
#include <vector>

namespace Platform {

// The captions of the desktop's top-level windows, hidden ones included, in the order the desktop
// keeps them (untrimmed, blank ones included). Where the desktop does not tell other programs'
// windows (no X11 display), only this program's own windows. Empty when there is no desktop.
std::vector<std::string> TopLevelWindowCaptions();

} // namespace Platform
