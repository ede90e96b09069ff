// Rounded window corners for the runtime's own windows.
#include "runtime/Win11Forms.h"

#include "platform/WindowCorners.h"

namespace Veltrano::Win11Forms {

TRoundedCornerType DefaultRoundedCorners = TRoundedCornerType::rcOn;

int CornerPreferenceValue(TRoundedCornerType corners) {
    if (corners == TRoundedCornerType::rcDefault) corners = DefaultRoundedCorners;
    switch (corners) {
    case TRoundedCornerType::rcOff:
        return 1;
    case TRoundedCornerType::rcOn:
        return 2;
    case TRoundedCornerType::rcSmall:
        return 3;
    case TRoundedCornerType::rcDefault:
        break;
    }
    return 0;
}

void TForm::SetRoundedCorners(TRoundedCornerType value) {
    FRoundedCorners = value;
    ApplyCornerPreference();
}

void TForm::WindowCreated() {
    Platform::TForm::WindowCreated();
    ApplyCornerPreference();
}

void TForm::ApplyCornerPreference() {
    if (Handle()) Platform::SetWindowCornerPreference(Handle(), CornerPreferenceValue(FRoundedCorners));
}

} // namespace Veltrano::Win11Forms
