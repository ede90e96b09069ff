// The form base of the runtime's own windows: it asks the window manager for rounded corners.
#pragma once

#include "platform/Form.h"

namespace Veltrano::Win11Forms {

enum class TRoundedCornerType { rcDefault, rcOff, rcOn, rcSmall };

// What rcDefault stands for; rcOn from start-up.
extern TRoundedCornerType DefaultRoundedCorners;

// The corner preference value sent for a property value.
int CornerPreferenceValue(TRoundedCornerType corners);

class TForm : public Platform::TForm {
public:
    TRoundedCornerType RoundedCorners() const { return FRoundedCorners; }
    // Applied at once when the window exists, otherwise when it is made.
    void SetRoundedCorners(TRoundedCornerType value);

protected:
    void WindowCreated() override;

private:
    void ApplyCornerPreference();

    TRoundedCornerType FRoundedCorners = TRoundedCornerType::rcDefault;
};

} // namespace Veltrano::Win11Forms
