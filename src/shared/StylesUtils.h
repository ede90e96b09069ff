// The visual styles of the runtime's windows.
#pragma once

#include <string>

namespace Corvane::Shared {

class TStylesUtils {
public:
    TStylesUtils() = delete;

    // Makes the style named StyleName (matched without case) the style of every window.
    // False when no style has that name.
    static bool SetStyle(const std::string& StyleName);
};

} // namespace Corvane::Shared
