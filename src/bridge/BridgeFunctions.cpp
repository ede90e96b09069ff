// The function-id table: what window.crv.<namespace>.<function> runs. The first digits of an id
// name its namespace.
#include "bridge/BrowserExternalModule.h"

namespace Corvane::Bridge {

using namespace Corvane::Shared;
using namespace Corvane::Browser;

namespace {

using M = TBrowserExternalModule;

// Ordered by id.
constexpr TBridgeFunction kFunctions[] = {
    {10001, &M::Hello, nullptr},
    {10002, &M::IsRuntime, nullptr},
    {11001, &M::SystemLogoff, "crv.system.logoff()"},
    {11002, &M::SystemReboot, "crv.system.reboot()"},
    {11003, &M::SystemShutdown, "crv.system.shutdown()"},
    {12001, &M::MainMenuSetItems, "crv.mainMenu.setItems()"},
    {12002, &M::MainMenuUpdateItem, "crv.mainMenu.updateItem()"},
    {20001, &M::DialogsOpenFile, nullptr},
    {20002, &M::DialogsSaveFile, nullptr},
    {30001, &M::FilesFileExists, nullptr},
    {30002, &M::FilesDeleteFile, nullptr},
    {30003, &M::FilesWriteTextFile, nullptr},
    // Named after the app namespace in its message, although the function lives in files.
    {30004, &M::FilesExtractFile, "crv.app.extractFile()"},
    {40001, &M::FoldersDirExists, nullptr},
    {40002, &M::FoldersDeleteDir, nullptr},
    {40003, &M::FoldersGetTempDir, nullptr},
    {40004, &M::FoldersGetUserDocumentsDir, nullptr},
    {40005, &M::FoldersGetUserDesktopDir, nullptr},
    {40006, &M::FoldersGetAppExecutableDir, nullptr},
    {40007, &M::FoldersGetAppDataDir, nullptr},
    {50001, &M::AppClose, nullptr},
    {50002, &M::AppInFullscreen, nullptr},
    {50003, &M::AppEnterFullscreen, "crv.app.enterFullscreen()"},
    {50004, &M::AppExitFullscreen, "crv.app.exitFullscreen()"},
    {60001, &M::WindowGetStyle, nullptr},
    {60002, &M::WindowSetStyle, nullptr},
    {60003, &M::WindowGetState, nullptr},
    {60004, &M::WindowSetState, nullptr},
    {60005, &M::WindowGetTitle, nullptr},
    {60006, &M::WindowSetTitle, nullptr},
    {70001, &M::ShellExecuteFile, nullptr},
    {70002, &M::ShellExploreFile, nullptr},
    {70003, &M::ShellCommand, nullptr},
    {70004, &M::ShellWindows, nullptr},
    {80001, &M::ThemesGetTheme, "crv.themes.getTheme()"},
    {80002, &M::ThemesGetThemes, "crv.themes.getThemes()"},
    {80003, &M::ThemesSetTheme, "crv.themes.setTheme()"},
    {90001, &M::Base64DecodeToFile, nullptr},
    {0, nullptr, nullptr},
};

} // namespace

const TBridgeFunction* TBrowserExternalModule::Functions() {
    return kFunctions;
}

const TBridgeFunction* TBrowserExternalModule::FindFunction(int id) {
    for (const auto* function = kFunctions; function->Id != 0; ++function)
        if (function->Id == id) return function;
    return nullptr;
}

} // namespace Corvane::Bridge
