// shell.* and base64.*: starting programs, command output, window captions, decoding to a file.
#include "bridge/BrowserExternalModule.h"

namespace Corvane::Shared {

void TBrowserExternalModule::ShellExecuteFile(const std::string&, const TJsonValue&) {}
void TBrowserExternalModule::ShellExploreFile(const std::string&, const TJsonValue&) {}
void TBrowserExternalModule::ShellCommand(const std::string&, const TJsonValue&) {}
void TBrowserExternalModule::ShellWindows(const std::string&, const TJsonValue&) {}
void TBrowserExternalModule::Base64DecodeToFile(const std::string&, const TJsonValue&) {}

} // namespace Corvane::Shared
