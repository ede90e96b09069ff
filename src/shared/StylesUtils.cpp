// The visual styles. Only the system's own look, "Windows", exists so far.
#include "shared/StylesUtils.h"

#include "shared/CaseMap.h"

namespace Corvane::Shared {

bool TStylesUtils::SetStyle(const std::string& StyleName) {
    return LowerAscii(StyleName) == "windows";
}

} // namespace Corvane::Shared
