// mainMenu.*: the main window's menu bar built from the page's JSON.
#include "bridge/BrowserExternalModule.h"

namespace Corvane::Shared {

void TBrowserExternalModule::MainMenuSetItems(const std::string&, const TJsonValue&) {}
void TBrowserExternalModule::MainMenuUpdateItem(const std::string&, const TJsonValue&) {}

} // namespace Corvane::Shared
