// themes.*: the visual theme of the runtime's windows.
#include "bridge/BrowserExternalModule.h"

#include "shared/StrUtils.h"
#include "shared/StylesUtils.h"

namespace Corvane::Shared {

void TBrowserExternalModule::ThemesGetTheme(const std::string& UUID, const TJsonValue&) {
    // Theme names hold no quotes or backslashes.
    std::string reply(1, '"');
    reply += TStylesUtils::GetActiveTheme();
    SendSuccess(UUID, reply + '"');
}

void TBrowserExternalModule::ThemesGetThemes(const std::string& UUID, const TJsonValue&) {
    std::vector<std::string> themes;
    TStylesUtils::GetAvailables(themes, true);
    std::string reply = "[";
    for (const auto& theme : themes) {
        if (reply.size() > 1) reply += ",";
        reply += TStrUtils::StringToJsonString(theme);
    }
    SendSuccess(UUID, reply + "]");
}

void TBrowserExternalModule::ThemesSetTheme(const std::string& UUID, const TJsonValue& Data) {
    const std::string name = ReadStringArg(Data, "name", "");
    TStylesUtils::TrySetStyle(name, false);
    // A name in other letter case selects the theme but is not its name.
    SendSuccess(UUID, JsonBool(TStylesUtils::GetActiveTheme() == name));
}

} // namespace Corvane::Shared
