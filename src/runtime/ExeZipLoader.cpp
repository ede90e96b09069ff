// Start-up, from the appended archive to the point where the main window may open.
#include "runtime/ExeZipLoader.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <system_error>

#include "abi/Utf.h"
#include "browser/EdgeEx.h"
#include "browser/EdgeInstalled.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Process.h"
#include "runtime/CommandLine.h"
#include "runtime/EdgeInstaller.h"
#include "runtime/RequirePasswordForm.h"
#include "runtime/StartupMessages.h"
#include "shared/ExeUtils.h"
#include "shared/PackageFormat.h"
#include "shared/StylesUtils.h"
#include "shared/SysUtils.h"

namespace Corvane::Runtime {

using namespace Corvane::Shared;
using namespace Corvane::Browser;

Shared::TZipReader* ExeZip = nullptr;
TProjectIni* ProjectINI = nullptr;
std::string RuntimeAppID;
std::string AppName;
std::string AppDirName;
std::string AppIndexHtml;
std::string AppDataDirPath;
std::string AppWin64DirPath;

namespace {

// Owned here for the whole run; the archive reader works on gArchive in place.
std::unique_ptr<Shared::TExeUtils> gExeUtils;
std::unique_ptr<Shared::TZipReader> gExeZip;
std::unique_ptr<TProjectIni> gProjectIni;
Shared::TBytes gArchive;

[[noreturn]] void StopSilently() {
    Platform::ExitProcess(0);
}

void LoadProjectIni() {
    Shared::TBytes bytes;
    ExeZip->ExtractToStream(Shared::kSettingsEntry, bytes, Shared::kMaxSettingsSize);
    ProjectINI->LoadFromBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void ApplyTheme() {
    const std::string theme = ProjectINI->ReadString("App", "Theme", "Windows");
    if (theme == "Windows") return;
    Shared::TStylesUtils::TrySetStyle(theme, true);
}

void ForceFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(Abi::Utf8Path(path), error);
    if (error) throw std::system_error(error, "Cannot create the folder " + path);
}

// Writes the loader entry to a temporary file first and moves it into place only if no loader is
// there yet, so an interrupted start never leaves a half-written library that later starts would
// keep using.
void ExtractLoader(const std::string& loaderPath) {
    std::error_code error;
    if (std::filesystem::exists(Abi::Utf8Path(loaderPath), error)) return;

    Shared::TBytes loader;
    ExeZip->ExtractToStream(Shared::kLoaderEntry, loader);
    const std::string tempPath = loaderPath + ".part" + std::to_string(std::random_device{}());
    {
        std::ofstream file(Abi::Utf8Path(tempPath), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(loader.data()), static_cast<std::streamsize>(loader.size()));
        file.close();
        if (!file) {
            const int code = Platform::LastErrorCode();
            std::filesystem::remove(Abi::Utf8Path(tempPath), error);
            throw std::system_error(code, std::generic_category(), "Cannot create " + loaderPath);
        }
    }
    int code = 0;
    if (!Platform::MoveFileNoReplace(tempPath, loaderPath, code)) {
        std::filesystem::remove(Abi::Utf8Path(tempPath), error);
        // Another instance put its copy there first: use that one.
        if (!std::filesystem::exists(Abi::Utf8Path(loaderPath), error))
            throw std::system_error(code, std::generic_category(), "Cannot create " + loaderPath);
    }
}

// Arguments already in the environment follow the runtime's own, so that they reach the browser: a
// WebDriver or a developer passes the remote debugging port this way. A start by this program (a new
// window) inherits the whole value and keeps it as it is.
std::string BrowserArguments() {
    const std::string inherited = Platform::GetEnvironmentValue("WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS");
    if (inherited.empty()) return kAdditionalBrowserArguments;
    if (inherited.starts_with(kAdditionalBrowserArguments)) return inherited;
    return std::string(kAdditionalBrowserArguments) + " " + inherited;
}

void SetBrowserEnvironment() {
    Platform::SetEnvironmentValue("WEBVIEW2_USER_DATA_FOLDER", AppWin64DirPath);
    Platform::SetEnvironmentValue("WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", BrowserArguments());
    Platform::RemoveEnvironmentValue("WEBVIEW2_BROWSER_EXECUTABLE_FOLDER");
    Platform::RemoveEnvironmentValue("WEBVIEW2_RELEASE_CHANNEL_PREFERENCE");
}

} // namespace

void LoadExeZip() {
    gExeUtils = std::make_unique<Shared::TExeUtils>();
    gExeZip = std::make_unique<Shared::TZipReader>();
    gProjectIni = std::make_unique<TProjectIni>();
    ExeZip = gExeZip.get();
    ProjectINI = gProjectIni.get();

    if (!gExeUtils->ExeHasAttachedStub()) {
        ShowStartupError(5);
        StopSilently();
    }

    ExeZip->SetPassword(Shared::kArchivePassword);
    gExeUtils->GetZipFromExe(gArchive);
    ExeZip->Open(gArchive.data(), gArchive.size());

    LoadProjectIni();

    RuntimeAppID = ProjectINI->ReadString("App", "ID", "");
    AppName = ProjectINI->ReadString("App", "Name", "");
    AppDirName = ProjectINI->ReadString("App", "DirName", "");
    AppIndexHtml = ProjectINI->ReadString("App", "IndexHtml", "index.html");
    if (RuntimeAppID.empty() || AppName.empty() || AppDirName.empty()) StopSilently();

    ApplyTheme();

    AppDataDirPath = Shared::TSysUtils::GetLocalAppDataDirPath() + RuntimeAppID + Platform::PathDelim;
    ForceFolder(AppDataDirPath);
    AppWin64DirPath = AppDataDirPath + "Win64" + Platform::PathDelim;
    Browser::EdgeLoaderDllPath = AppWin64DirPath + Shared::kLoaderEntry;
    ForceFolder(AppWin64DirPath);

    ExtractLoader(Browser::EdgeLoaderDllPath);
    SetBrowserEnvironment();

    if (!Browser::CheckEdgeIsInstalled(Browser::EdgeLoaderDllPath)) RunEdgeInstallation();

    if (TCommandLine::FirstArgIs(RuntimeAppID)) return;

    const std::string password = ProjectINI->ReadString("App", "Password", "");
    if (!password.empty() && !AskStartPassword(AppName, password)) StopSilently();
}

} // namespace Corvane::Runtime
