// The splash shown while the browser runtime installs: a small rounded tile with a busy indicator
// that cannot be closed; it goes away when the process ends.
#pragma once

#include <cstdint>

#include "platform/ActivityIndicator.h"
#include "runtime/Win11Forms.h"

namespace Corvane::Runtime {

class TEdgeInstallerForm : public Veltrano::Win11Forms::TForm {
public:
    // Client size at 96 dots per inch.
    static constexpr int kClientWidth = 80;
    static constexpr int kClientHeight = 80;

    TEdgeInstallerForm();

    // A colour in the settings' format ($00BBGGRR, or $FF0000nn for system colour nn).
    void SetColor(std::int32_t color);
    // 0 black, 1 white; other values keep the current colour.
    void SetIndicatorColor(std::int32_t color);
    // 0 momentum dots, 1 rotating sector, 2 sector ring; other values keep the current style.
    void SetIndicatorType(std::int32_t type);

    Platform::TActivityIndicator ActivityIndicator;

private:
    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void SetRoundedRegion();
};

} // namespace Corvane::Runtime
