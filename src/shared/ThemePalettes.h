// The built-in visual styles: one palette per name.
#pragma once

#include <span>

#include "platform/Styles.h"

namespace Corvane::Shared {

struct TBuiltInStyle {
    const char* Name;
    Platform::TStylePalette Palette;
};

// The 39 styles carried by the program, besides the system look.
std::span<const TBuiltInStyle> BuiltInStyles();

} // namespace Corvane::Shared
