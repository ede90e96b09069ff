// dialogs.*: the open and save file dialogs.
#include "bridge/BrowserExternalModule.h"

namespace Corvane::Shared {

void TBrowserExternalModule::DialogsOpenFile(const std::string&, const TJsonValue&) {}
void TBrowserExternalModule::DialogsSaveFile(const std::string&, const TJsonValue&) {}

} // namespace Corvane::Shared
