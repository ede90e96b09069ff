// The visual styles. Only the system's own look, "Windows", exists so far.
#include "shared/StylesUtils.h"

#include <algorithm>
#include <cctype>

namespace Corvane::Shared {

bool TStylesUtils::SetStyle(const std::string& StyleName) {
    std::string name = StyleName;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name == "windows";
}

} // namespace Corvane::Shared
