// The installation splash.
#include "runtime/EdgeInstallerForm.h"

#include "runtime/SystemColors.h"

namespace Corvane::Runtime {

TEdgeInstallerForm::TEdgeInstallerForm() {
    SetBounds(0, 0, kClientWidth, kClientHeight);
    SetPosition(Platform::TPosition::ScreenCenter);
    SetCursor(Platform::TCursor::AppStart);
    SetDropShadow(true);
    SetColor(-16777190); // the system hot-track colour
    ActivityIndicator.SetParent(this);
    ActivityIndicator.SetIndicatorSize(Platform::TActivityIndicatorSize::XLarge);
    ActivityIndicator.SetIndicatorColor(Platform::TActivityIndicatorColor::White);
    ActivityIndicator.SetPosition(9, 8);
    ActivityIndicator.SetAnimate(true);
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    FormCreate();
}

void TEdgeInstallerForm::FormCreate() {
    SetBorderStyle(Platform::TBorderStyle::None);
    SetRoundedRegion();
}

void TEdgeInstallerForm::FormCloseQuery(bool& canClose) {
    canClose = false;
}

void TEdgeInstallerForm::SetRoundedRegion() {
    SetRoundRectRegion(Width() + 1, Height() + 1, 4, 4);
}

void TEdgeInstallerForm::SetColor(std::int32_t color) {
    Platform::TForm::SetColor(ColorToRGB(color));
}

void TEdgeInstallerForm::SetIndicatorColor(std::int32_t color) {
    if (color == 0) ActivityIndicator.SetIndicatorColor(Platform::TActivityIndicatorColor::Black);
    if (color == 1) ActivityIndicator.SetIndicatorColor(Platform::TActivityIndicatorColor::White);
}

void TEdgeInstallerForm::SetIndicatorType(std::int32_t type) {
    if (type >= 0 && type <= 2)
        ActivityIndicator.SetIndicatorType(static_cast<Platform::TActivityIndicatorType>(type));
}

} // namespace Corvane::Runtime
