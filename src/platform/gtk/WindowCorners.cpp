// X11 window managers have no corner preference; the request is accepted and has no effect.
#include "platform/WindowCorners.h"

namespace Platform {

void SetWindowCornerPreference(void* /*window*/, int /*value*/) {}

} // namespace Platform
