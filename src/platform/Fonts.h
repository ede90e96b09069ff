// Measuring text as the screen draws it.
#pragma once

#include <string>

namespace Platform {

struct TFontDescription {
    std::string Family;
    int PixelSize = 0; // the em height in pixels
    bool Bold = false;
    bool Italic = false;
};

// The advance width in pixels of text set in font, rounded up; 0 for empty text, -1 for a size that is
// not positive or when nothing can measure it. A family the system lacks is replaced as the screen
// would replace it.
int TextWidthInPixels(const TFontDescription& font, const std::string& text);

} // namespace Platform
