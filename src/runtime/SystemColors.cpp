// The system colours' standard values, for settings that name one.
#include "runtime/SystemColors.h"

#include <array>

namespace Corvane::Runtime {

namespace {

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | g << 8 | b << 16;
}

// By index: scroll bar, desktop, active and inactive caption, menu, window, window frame, menu text,
// window text, caption text, active and inactive border, application workspace, highlight,
// highlighted text, button face, button shadow, grey text, button text, inactive caption text,
// button highlight, 3-D dark shadow, 3-D light, tooltip text and background, (none), hot-track,
// gradients of the active and inactive caption, menu highlight, menu bar.
constexpr std::array<std::uint32_t, 31> kSystemColors = {
    Rgb(200, 200, 200), Rgb(0, 0, 0),       Rgb(153, 180, 209), Rgb(191, 205, 219), Rgb(240, 240, 240),
    Rgb(255, 255, 255), Rgb(100, 100, 100), Rgb(0, 0, 0),       Rgb(0, 0, 0),       Rgb(0, 0, 0),
    Rgb(180, 180, 180), Rgb(244, 247, 252), Rgb(171, 171, 171), Rgb(0, 120, 215),   Rgb(255, 255, 255),
    Rgb(240, 240, 240), Rgb(160, 160, 160), Rgb(109, 109, 109), Rgb(0, 0, 0),       Rgb(0, 0, 0),
    Rgb(255, 255, 255), Rgb(105, 105, 105), Rgb(227, 227, 227), Rgb(0, 0, 0),       Rgb(255, 255, 225),
    Rgb(0, 0, 0),       Rgb(0, 102, 204),   Rgb(185, 209, 234), Rgb(215, 228, 242), Rgb(0, 120, 215),
    Rgb(240, 240, 240)};

} // namespace

std::uint32_t ColorToRGB(std::int32_t color) {
    if (color >= 0) return static_cast<std::uint32_t>(color) & 0xFFFFFF;
    const std::uint32_t index = static_cast<std::uint32_t>(color) & 0xFF;
    return index < kSystemColors.size() ? kSystemColors[index] : 0;
}

} // namespace Corvane::Runtime
