// The native half of the bridge: receives the page's call messages, runs the handler that the
// function id names and posts one JSON reply with the call's uuid. The handlers of each family
// live in their own file (AppHandlers.cpp, FileHandlers.cpp, ...).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "browser/EdgeEx.h"
#include "platform/FileDialogs.h"

namespace Platform {
class TForm;
class TMenuItem;
} // namespace Platform

namespace Corvane::Runtime {
class TProjectIni;
}

namespace Corvane::Shared {

class TBrowserForm;
class TZipReader;
class TBrowserExternalModule;

using TJsonValue = nlohmann::json;

// One row of the function-id table.
struct TBridgeFunction {
    int Id;
    // The handler: of functions without arguments it ignores Data.
    void (TBrowserExternalModule::*Handler)(const std::string& UUID, const TJsonValue& Data);
    // The script name shown when the function refuses to run without a package; null: it always runs.
    const char* RuntimeOnlyName;
};

class TBrowserExternalModule {
public:
    TBrowserExternalModule();
    ~TBrowserExternalModule();
    TBrowserExternalModule(const TBrowserExternalModule&) = delete;
    TBrowserExternalModule& operator=(const TBrowserExternalModule&) = delete;

    TZipReader* ExeZip = nullptr; // not owned; null: archive-less mode
    Platform::TForm* MainForm = nullptr;
    Runtime::TProjectIni* ProjectINI = nullptr;
    bool InFullscreen = false;
    TBrowserForm* BrowserForm = nullptr;
    std::function<void(TBrowserExternalModule* Sender)> OnAppCloseRequest;

    // The browser control's OnWebMessageReceived: one call message in, at most one reply out.
    // Never lets an exception out; a call that fails unguarded gets no reply.
    void EdgeBrowserWebMessageReceived(TCustomEdgeBrowser* Sender, TWebMessageReceivedEventArgs& Args);

    // Result is finished JSON text.
    void SendResponse(const std::string& UUID, const std::string& Result, bool Success);
    void SendSuccess(const std::string& UUID, const std::string& Result);
    void SendError(const std::string& UUID, const std::string& Result);
    // The reply to a request that the system took (true) or refused (its message for the last error).
    void SendSystemReply(const std::string& UUID, bool Accepted);

    // Argument readers of the top level of Data. Absent or null: Default. A string gives its text,
    // a number its text as sent, true/false the words; an object or array throws.
    static std::string ReadStringArg(const TJsonValue& Data, const std::string& Key,
                                     const std::string& Default);
    // Absent or null: Default; true or false: the value; anything else throws.
    static bool ReadBoolArg(const TJsonValue& Data, const std::string& Key, bool Default);

    // The handlers, one per function id.
    void Hello(const std::string& UUID, const TJsonValue& Data);
    void IsRuntime(const std::string& UUID, const TJsonValue& Data);
    void SystemLogoff(const std::string& UUID, const TJsonValue& Data);
    void SystemReboot(const std::string& UUID, const TJsonValue& Data);
    void SystemShutdown(const std::string& UUID, const TJsonValue& Data);
    void FilesFileExists(const std::string& UUID, const TJsonValue& Data);
    void FilesDeleteFile(const std::string& UUID, const TJsonValue& Data);
    void FilesWriteTextFile(const std::string& UUID, const TJsonValue& Data);
    void FilesExtractFile(const std::string& UUID, const TJsonValue& Data);
    void FoldersDirExists(const std::string& UUID, const TJsonValue& Data);
    void FoldersDeleteDir(const std::string& UUID, const TJsonValue& Data);
    void FoldersGetTempDir(const std::string& UUID, const TJsonValue& Data);
    void FoldersGetUserDocumentsDir(const std::string& UUID, const TJsonValue& Data);
    void FoldersGetUserDesktopDir(const std::string& UUID, const TJsonValue& Data);
    void FoldersGetAppExecutableDir(const std::string& UUID, const TJsonValue& Data);
    void FoldersGetAppDataDir(const std::string& UUID, const TJsonValue& Data);
    void AppClose(const std::string& UUID, const TJsonValue& Data);
    void AppInFullscreen(const std::string& UUID, const TJsonValue& Data);
    void AppEnterFullscreen(const std::string& UUID, const TJsonValue& Data);
    void AppExitFullscreen(const std::string& UUID, const TJsonValue& Data);
    void WindowGetStyle(const std::string& UUID, const TJsonValue& Data);
    void WindowSetStyle(const std::string& UUID, const TJsonValue& Data);
    void WindowGetState(const std::string& UUID, const TJsonValue& Data);
    void WindowSetState(const std::string& UUID, const TJsonValue& Data);
    void WindowGetTitle(const std::string& UUID, const TJsonValue& Data);
    void WindowSetTitle(const std::string& UUID, const TJsonValue& Data);
    void MainMenuSetItems(const std::string& UUID, const TJsonValue& Data);
    void MainMenuUpdateItem(const std::string& UUID, const TJsonValue& Data);
    void DialogsOpenFile(const std::string& UUID, const TJsonValue& Data);
    void DialogsSaveFile(const std::string& UUID, const TJsonValue& Data);
    void ShellExecuteFile(const std::string& UUID, const TJsonValue& Data);
    void ShellExploreFile(const std::string& UUID, const TJsonValue& Data);
    void ShellCommand(const std::string& UUID, const TJsonValue& Data);
    void ShellWindows(const std::string& UUID, const TJsonValue& Data);
    void ThemesGetTheme(const std::string& UUID, const TJsonValue& Data);
    void ThemesGetThemes(const std::string& UUID, const TJsonValue& Data);
    void ThemesSetTheme(const std::string& UUID, const TJsonValue& Data);
    void Base64DecodeToFile(const std::string& UUID, const TJsonValue& Data);

    // The function-id table, ordered by id; ends with an entry of id 0.
    static const TBridgeFunction* Functions();
    // The row of Id, or null.
    static const TBridgeFunction* FindFunction(int Id);

private:
    void Dispatch(TWebMessageReceivedEventArgs& Args);
    void DataModuleCreate();
    void DataModuleDestroy();
    void ClearReferences();
    // A power action's reply: true when the system took it, else its message as the error.
    void SendPowerActionReply(const std::string& UUID, std::uint32_t Flags);
    // The path argument Key under the application folder, or "" after sending the missing-argument
    // error MissingText.
    std::string ReadAppPathArg(const std::string& UUID, const TJsonValue& Data, const char* Key,
                               const char* MissingText);

    // dialogs.*: reused for every call, so each remembers the filter the user last chose.
    Platform::TFileOpenDialog FileOpenDialog;
    Platform::TFileSaveDialog FileSaveDialog;

    // mainMenu.*: the hidden form that owns the menu and its pictures, made and freed with the module.
    std::unique_ptr<class TBrowserExternalForm> FBrowserExternalForm;
    // Fills MenuItem from the item object and builds its children. False when the object was wrong:
    // the failure reply has gone and the menu is empty.
    bool BuildMenuItem(const std::string& UUID, const TJsonValue& Item, Platform::TMenuItem& MenuItem);
    // The first item with Tag in the subtree of MenuItem, depth first, or null.
    static Platform::TMenuItem* FindMenuItemByTag(Platform::TMenuItem& MenuItem, std::int32_t Tag);
    void MainMenuItemClick(Platform::TMenuItem& Sender);
    // Gives the item the picture at Path (the package entry, beside the executable, or the path).
    void LoadMenuImage(const std::string& Path, Platform::TMenuItem& MenuItem);
};

// The JSON words true and false.
inline const char* JsonBool(bool value) {
    return value ? "true" : "false";
}

// The reply text: {"uuid": "<uuid>", "success": <true|false>, "result": <result>}.
std::string BuildResponse(const std::string& UUID, const std::string& Result, bool Success);

// Parses the message's JSON text. Numbers keep the text they were sent with (the bridge reads
// every number as text). Throws when the text is not JSON.
TJsonValue ParseMessageJson(const std::string& Text);

// The system's message for an error code, as an error reply text wants it: without trailing blanks,
// line breaks and periods.
std::string SystemErrorText(int Code);

// The error reply of a file that could not be written: "Cannot write the file \"<path>\": <text>".
std::string CannotWriteText(const std::string& Path, int Code);

} // namespace Corvane::Shared
