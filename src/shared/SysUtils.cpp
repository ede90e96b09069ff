// System functions: folders, folder deletion, shell and power actions.
#include "shared/SysUtils.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "abi/Utf.h"
#include "platform/Folders.h"
#include "platform/Process.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "shared/CommandLineText.h"

namespace Corvane::Shared {

std::string TSysUtils::GetUserDesktopDirPath() {
    return Platform::GetDesktopDir();
}
std::string TSysUtils::GetUserDocumentsDirPath() {
    return Platform::GetDocumentsDir();
}
std::string TSysUtils::GetUserAppDataDirPath() {
    return Platform::GetRoamingAppDataDir();
}
std::string TSysUtils::GetLocalAppDataDirPath() {
    return Platform::GetLocalAppDataDir();
}
std::string TSysUtils::GetTempDirPath() {
    return Platform::GetTempDir();
}

bool TSysUtils::DeleteDirectory(const std::string& dirPath) {
    std::error_code error;
    const std::filesystem::path path = Abi::Utf8Path(dirPath);
    if (!std::filesystem::is_directory(path, error)) return false;
    std::filesystem::remove_all(path, error);
    return !error && !std::filesystem::exists(path, error);
}

bool TSysUtils::ShellExec(const std::string& filePath, const std::string& arguments) {
    return Platform::ShellOpen(filePath, SplitCommandLineText(arguments));
}

bool TSysUtils::ExitWindows(std::uint32_t rebootParam) {
    constexpr std::uint32_t kActionMask = 3, kForce = 4;
    if ((rebootParam & ~(kActionMask | kForce)) != 0) {
        Platform::SetLastError(EINVAL);
        return false;
    }
    // The system has no force of its own to ask for: programs are not asked to agree either way,
    // and only their inhibitor locks can stop the request. So the force flag changes nothing.
    switch (rebootParam & kActionMask) {
    case 0:
        return Platform::EndSession(Platform::TSessionEnd::Logoff);
    case 1:
        return Platform::EndSession(Platform::TSessionEnd::Shutdown);
    case 2:
        return Platform::EndSession(Platform::TSessionEnd::Reboot);
    default:
        Platform::SetLastError(EINVAL);
        return false;
    }
}

} // namespace Corvane::Shared
