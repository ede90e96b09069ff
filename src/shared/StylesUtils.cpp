// The visual styles. Only the system's own look, "Windows", exists so far.
#include "shared/StylesUtils.h"

#include <cstdio>

#include "platform/Dialogs.h"
#include "shared/CaseMap.h"

namespace Corvane::Shared {

std::string TStylesUtils::GetActiveTheme() {
    return "Windows";
}

void TStylesUtils::GetAvailables(std::vector<std::string>& ThemesList, bool) {
    ThemesList = {"Windows"};
}

void TStylesUtils::TrySetStyle(const std::string& ThemeName, bool ShowError) {
    if (LowerAscii(ThemeName) == "windows" || !ShowError) return;
    char text[512];
    std::snprintf(text, sizeof text, "Style '%s' not found", ThemeName.c_str());
    Platform::ShowErrorBox(text, "Error");
}

} // namespace Corvane::Shared
