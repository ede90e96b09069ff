// Decoded pictures made ready for the screen: fitted to a size, greyed, and turned into bitmaps
// that GDI and menus draw with their alpha.
#pragma once

#include <windows.h>

#include "platform/Images.h"

namespace Platform::Pictures {

// A size given for 96 dots per inch at the given resolution.
int ScaledSize(int size, int dpi);
// The resolution of the window's screen; the system's when the window is null.
int WindowDpi(HWND window);
// The picture scaled to width x height. Keeping proportions, it is centred on a transparent
// canvas; otherwise it fills the canvas.
TBitmap Fit(const TBitmap& source, int width, int height, bool keepProportions);
// Grey and faded, as pictures of disabled items look.
void Grey(TBitmap& bitmap);
// A 32-bit top-down DIB section with premultiplied alpha, owned by the caller; null on failure.
HBITMAP ToBitmapHandle(const TBitmap& bitmap);

} // namespace Platform::Pictures
