// The border styles of the setting App/WindowBorder.
#pragma once

#include "platform/Form.h"

namespace Corvane::Shared {

// 0 none, 1 single, 2 sizeable, 3 dialog, 4 tool window, 5 sizeable tool window; other values
// give sizeable, the default.
Platform::TBorderStyle BorderStyleFromSetting(int value);

} // namespace Corvane::Shared
