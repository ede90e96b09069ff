// The browser runtime is missing: offer to install it with the installer the package carries, run
// that with administrator rights behind a splash, then start afresh or say why the application
// cannot run. Every path ends the process.
#include "runtime/EdgeInstaller.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>
#include <vector>

#include "abi/Utf.h"
#include "browser/EdgeEx.h"
#include "browser/EdgeInstalled.h"
#include "platform/Dialogs.h"
#include "platform/Process.h"
#include "platform/Spawn.h"
#include "runtime/EdgeInstallerForm.h"
#include "runtime/ExeZipLoader.h"
#include "runtime/StartupMessages.h"
#include "shared/PackageFormat.h"
#include "shared/SysUtils.h"

namespace Corvane::Runtime {

using namespace Corvane::Shared;
using namespace Corvane::Browser;

namespace {

using Shared::TSysUtils;

[[noreturn]] void StopWithMessage(int messageIndex) {
    ShowStartupError(messageIndex);
    Platform::ExitProcess(0);
}

[[noreturn]] void RemoveDataAndStop(int messageIndex) {
    TSysUtils::DeleteDirectory(AppDataDirPath);
    StopWithMessage(messageIndex);
}

// An installer already there, even one left by an earlier attempt, is run as it is. A package
// without the entry gives an empty file, which fails to run, so the user learns the runtime is still
// missing. The file is written beside its place and moved there, so a start cut short never leaves a
// half-written installer that later starts would run.
void ExtractInstaller(const std::string& path) {
    std::error_code error;
    if (std::filesystem::exists(Abi::Utf8Path(path), error)) return;
    std::vector<std::uint8_t> installer;
    ExeZip->ExtractToStream(Shared::kInstallerEntry, installer);
    const std::string tempPath = path + ".part" + std::to_string(std::random_device{}());
    {
        std::ofstream file(Abi::Utf8Path(tempPath), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(installer.data()),
                   static_cast<std::streamsize>(installer.size()));
        file.close();
        if (!file) {
            const int code = Platform::LastErrorCode();
            std::filesystem::remove(Abi::Utf8Path(tempPath), error);
            throw std::system_error(code, std::generic_category(), "Cannot create " + path);
        }
    }
    // It is a program: it must be allowed to run.
    std::filesystem::permissions(Abi::Utf8Path(tempPath),
                                 std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                     std::filesystem::perms::group_exec |
                                     std::filesystem::perms::others_read |
                                     std::filesystem::perms::others_exec,
                                 error);
    std::filesystem::rename(Abi::Utf8Path(tempPath), Abi::Utf8Path(path), error);
    if (error) {
        const std::error_code renameError = error;
        std::filesystem::remove(Abi::Utf8Path(tempPath), error);
        throw std::system_error(renameError, "Cannot create " + path);
    }
}

} // namespace

void RunEdgeInstallation() {
    if (!ProjectINI->ReadBool("App", "EdgeInstaller", true)) StopWithMessage(6);

    if (ShowStartupConfirmation(7) == Platform::mrCancel) RemoveDataAndStop(8);

    const std::string installerPath = AppDataDirPath + Shared::kInstallerEntry;
    ExtractInstaller(installerPath);

    // Never freed: the splash stays until the process ends.
    auto* splash = new TEdgeInstallerForm;
    splash->SetCaption(AppName);
    splash->SetColor(ProjectINI->ReadInteger("App", "InstallFormColor", -16777190));
    splash->SetIndicatorColor(ProjectINI->ReadInteger("App", "InstallIndicatorColor", 1));
    splash->SetIndicatorType(ProjectINI->ReadInteger("App", "InstallIndicatorType", 0));
    splash->Show();

    // The exit code tells nothing reliable (an installer may end before its work is done); the
    // check that follows decides.
    TSysUtils::ShellExecAsAdminAndWait(splash->Handle(), installerPath, "/silent /install");

    if (Browser::CheckEdgeIsInstalled(Browser::EdgeLoaderDllPath)) {
        std::error_code error;
        std::filesystem::remove(Abi::Utf8Path(installerPath), error);
        TSysUtils::ShellExec(Platform::GetExecutablePath(), "");
        Platform::ExitProcess(0);
    }
    // Told to end while the installer ran: a message would keep the process from ending.
    if (Platform::TerminationRequested()) {
        TSysUtils::DeleteDirectory(AppDataDirPath);
        Platform::ExitProcess(0);
    }
    RemoveDataAndStop(9);
}

} // namespace Corvane::Runtime
