// The visual styles of the runtime's windows.
#pragma once

#include <string>
#include <vector>

namespace Corvane::Shared {

class TStylesUtils {
public:
    TStylesUtils() = delete;

    // The name of the active style.
    static std::string GetActiveTheme();
    // Every registered style name; sorted without case when sorted.
    static void GetAvailables(std::vector<std::string>& themesList, bool sorted);
    // Makes the style named themeName (matched without case) the style of every window; an unknown
    // name changes nothing and, with showError, shows "Style '<name>' not found".
    static void TrySetStyle(const std::string& themeName, bool showError);
};

} // namespace Corvane::Shared
