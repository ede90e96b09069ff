// themes.*: the visual theme of the runtime's windows.
#include "bridge/BrowserExternalModule.h"

namespace Corvane::Shared {

void TBrowserExternalModule::ThemesGetTheme(const std::string&, const TJsonValue&) {}
void TBrowserExternalModule::ThemesGetThemes(const std::string&, const TJsonValue&) {}
void TBrowserExternalModule::ThemesSetTheme(const std::string&, const TJsonValue&) {}

} // namespace Corvane::Shared
