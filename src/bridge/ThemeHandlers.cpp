// themes.*: the visual theme of the runtime's windows.
#include "bridge/BrowserExternalModule.h"

#include <nlohmann/json.hpp>

#include "shared/StylesUtils.h"

namespace Corvane::Bridge {

using namespace Corvane::Shared;
using namespace Corvane::Browser;

TBridgeOutcome TBrowserExternalModule::ThemesGetTheme(const TJsonValue&) {
    return TBridgeOutcome::Result(TStylesUtils::GetActiveTheme());
}

TBridgeOutcome TBrowserExternalModule::ThemesGetThemes(const TJsonValue&) {
    std::vector<std::string> themes;
    TStylesUtils::GetAvailables(themes, true);
    return TBridgeOutcome::Result(themes);
}

TBridgeOutcome TBrowserExternalModule::ThemesSetTheme(const TJsonValue& data) {
    const std::string name = ReadStringArg(data, "name", "");
    TStylesUtils::TrySetStyle(name, false);
    // A name in other letter case selects the theme but is not its name.
    return TBridgeOutcome::Result(TStylesUtils::GetActiveTheme() == name);
}

} // namespace Corvane::Bridge
