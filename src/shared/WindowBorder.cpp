// The border styles of the setting App/WindowBorder.
#include "shared/WindowBorder.h"

namespace Corvane::Shared {

Platform::TBorderStyle BorderStyleFromSetting(int value) {
    using B = Platform::TBorderStyle;
    switch (value) {
    case 0:
        return B::None;
    case 1:
        return B::Single;
    case 3:
        return B::Dialog;
    case 4:
        return B::ToolWindow;
    case 5:
        return B::SizeToolWin;
    default:
        return B::Sizeable;
    }
}

} // namespace Corvane::Shared
