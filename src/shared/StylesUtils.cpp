// The visual styles: the built-in palettes and the system look, over the platform's style manager.
#include "shared/StylesUtils.h"

#include <algorithm>

#include "abi/CaseMap.h"
#include "platform/Dialogs.h"
#include "platform/Styles.h"
#include "shared/ThemePalettes.h"

namespace Corvane::Shared {

using namespace Corvane::Abi;

namespace {

// The style manager knows the built-in styles from its first use on.
void EnsureRegistered() {
    static const bool registered = [] {
        for (const auto& style : BuiltInStyles())
            Platform::RegisterStyle(style.Name, style.Palette);
        return true;
    }();
    (void)registered;
}

} // namespace

std::string TStylesUtils::GetActiveTheme() {
    EnsureRegistered();
    return Platform::ActiveStyleName();
}

void TStylesUtils::GetAvailables(std::vector<std::string>& themesList, bool sorted) {
    EnsureRegistered();
    themesList = Platform::StyleNames();
    if (!sorted) return;
    // Names are ASCII, so every locale orders them alike; a name sorts before its own extensions
    // ("Windows" before "Windows10").
    std::stable_sort(themesList.begin(), themesList.end(), [](const std::string& a, const std::string& b) {
        return LowerAscii(a) < LowerAscii(b);
    });
}

void TStylesUtils::TrySetStyle(const std::string& themeName, bool showError) {
    EnsureRegistered();
    if (Platform::SetActiveStyle(themeName) || !showError) return;
    Platform::ShowErrorBox(std::string("Style '") + themeName + "' not found", "Error");
}

} // namespace Corvane::Shared
