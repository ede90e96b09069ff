// The native half of the bridge: receives the page's call messages, runs the handler that the
// function id names and posts the reply that its outcome calls for. The handlers of each family
// live in their own file (AppHandlers.cpp, FileHandlers.cpp, ...).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "bridge/BridgeOutcome.h"
#include "browser/EdgeEx.h"
#include "platform/FileDialogs.h"

namespace Platform {
class TForm;
class TMenuItem;
} // namespace Platform

namespace Corvane::Shared {
class TZipReader;
class TProjectIni;
} // namespace Corvane::Shared

namespace Corvane::Browser {
class TBrowserForm;
} // namespace Corvane::Browser

namespace Corvane::Bridge {

class TBrowserExternalModule;

using TJsonValue = nlohmann::json;

// One row of the function-id table.
struct TBridgeFunction {
    int Id;
    // The handler: of functions without arguments it ignores Data.
    TBridgeOutcome (TBrowserExternalModule::*Handler)(const TJsonValue& Data);
    // The script name shown when the function refuses to run without a package; null: it always runs.
    const char* RuntimeOnlyName;
};

class TBrowserExternalModule {
public:
    TBrowserExternalModule();
    ~TBrowserExternalModule();
    TBrowserExternalModule(const TBrowserExternalModule&) = delete;
    TBrowserExternalModule& operator=(const TBrowserExternalModule&) = delete;

    Shared::TZipReader* ExeZip = nullptr; // not owned; null: archive-less mode
    Platform::TForm* MainForm = nullptr;
    Shared::TProjectIni* ProjectINI = nullptr;
    bool InFullscreen = false;
    Browser::TBrowserForm* BrowserForm = nullptr;
    std::function<void(TBrowserExternalModule* Sender)> OnAppCloseRequest;

    // One call message in, at most one reply out: the handler's outcome, posted here and nowhere
    // else. Never lets an exception out; a handler that throws gets no reply and a line on stderr,
    // and so does a reply that cannot be posted.
    void EdgeBrowserWebMessageReceived(Browser::TCustomEdgeBrowser* Sender,
                                       Browser::TWebMessageReceivedEventArgs& Args);

    // Argument readers of the top level of Data; they never reply. Absent or null: Default. A string
    // gives its text, a number its text as sent, true/false the words; an object or array throws.
    static std::string ReadStringArg(const TJsonValue& Data, const std::string& Key,
                                     const std::string& Default);
    // Absent or null: Default; true or false: the value; anything else throws.
    static bool ReadBoolArg(const TJsonValue& Data, const std::string& Key, bool Default);

    // The handlers, one per function id.
    TBridgeOutcome Hello(const TJsonValue& Data);
    TBridgeOutcome IsRuntime(const TJsonValue& Data);
    TBridgeOutcome SystemLogoff(const TJsonValue& Data);
    TBridgeOutcome SystemReboot(const TJsonValue& Data);
    TBridgeOutcome SystemShutdown(const TJsonValue& Data);
    TBridgeOutcome FilesFileExists(const TJsonValue& Data);
    TBridgeOutcome FilesDeleteFile(const TJsonValue& Data);
    TBridgeOutcome FilesWriteTextFile(const TJsonValue& Data);
    TBridgeOutcome FilesExtractFile(const TJsonValue& Data);
    TBridgeOutcome FoldersDirExists(const TJsonValue& Data);
    TBridgeOutcome FoldersDeleteDir(const TJsonValue& Data);
    TBridgeOutcome FoldersGetTempDir(const TJsonValue& Data);
    TBridgeOutcome FoldersGetUserDocumentsDir(const TJsonValue& Data);
    TBridgeOutcome FoldersGetUserDesktopDir(const TJsonValue& Data);
    TBridgeOutcome FoldersGetAppExecutableDir(const TJsonValue& Data);
    TBridgeOutcome FoldersGetAppDataDir(const TJsonValue& Data);
    TBridgeOutcome AppClose(const TJsonValue& Data);
    TBridgeOutcome AppInFullscreen(const TJsonValue& Data);
    TBridgeOutcome AppEnterFullscreen(const TJsonValue& Data);
    TBridgeOutcome AppExitFullscreen(const TJsonValue& Data);
    TBridgeOutcome WindowGetStyle(const TJsonValue& Data);
    TBridgeOutcome WindowSetStyle(const TJsonValue& Data);
    TBridgeOutcome WindowGetState(const TJsonValue& Data);
    TBridgeOutcome WindowSetState(const TJsonValue& Data);
    TBridgeOutcome WindowGetTitle(const TJsonValue& Data);
    TBridgeOutcome WindowSetTitle(const TJsonValue& Data);
    TBridgeOutcome MainMenuSetItems(const TJsonValue& Data);
    TBridgeOutcome MainMenuUpdateItem(const TJsonValue& Data);
    TBridgeOutcome DialogsOpenFile(const TJsonValue& Data);
    TBridgeOutcome DialogsSaveFile(const TJsonValue& Data);
    TBridgeOutcome ShellExecuteFile(const TJsonValue& Data);
    TBridgeOutcome ShellExploreFile(const TJsonValue& Data);
    TBridgeOutcome ShellCommand(const TJsonValue& Data);
    TBridgeOutcome ShellWindows(const TJsonValue& Data);
    TBridgeOutcome ThemesGetTheme(const TJsonValue& Data);
    TBridgeOutcome ThemesGetThemes(const TJsonValue& Data);
    TBridgeOutcome ThemesSetTheme(const TJsonValue& Data);
    TBridgeOutcome Base64DecodeToFile(const TJsonValue& Data);

    // The function-id table, ordered by id; ends with an entry of id 0.
    static const TBridgeFunction* Functions();
    // The row of Id, or null.
    static const TBridgeFunction* FindFunction(int Id);

private:
    void Dispatch(Browser::TWebMessageReceivedEventArgs& Args);
    void PostReply(const std::string& UUID, const TBridgeOutcome& Outcome);
    void DataModuleCreate();
    void DataModuleDestroy();
    void ClearReferences();
    // The path argument Key under the application folder, or "" when the argument is missing.
    std::string ReadAppPathArg(const TJsonValue& Data, const char* Key);

    // dialogs.*: reused for every call, so each remembers the filter the user last chose.
    Platform::TFileOpenDialog FileOpenDialog;
    Platform::TFileSaveDialog FileSaveDialog;

    // mainMenu.*: the hidden form that owns the menu and its pictures, made and freed with the module.
    std::unique_ptr<class TBrowserExternalForm> FBrowserExternalForm;
    // Fills MenuItem from the item object and builds its children. False when an id, caption or
    // item list has the wrong JSON type; a member that is not an object throws.
    bool BuildMenuItem(const TJsonValue& Item, Platform::TMenuItem& MenuItem);
    // The first item with Tag in the subtree of MenuItem, depth first, or null.
    static Platform::TMenuItem* FindMenuItemByTag(Platform::TMenuItem& MenuItem, std::int32_t Tag);
    void MainMenuItemClick(Platform::TMenuItem& Sender);
    // Gives the item the picture at Path (the package entry, beside the executable, or the path).
    void LoadMenuImage(const std::string& Path, Platform::TMenuItem& MenuItem);
};

// Parses the message's JSON text. Numbers keep the text they were sent with (the bridge reads
// every number as text). Throws when the text is not JSON.
TJsonValue ParseMessageJson(const std::string& Text);

// The system's message for an error code, as a rejection wants it: without trailing blanks, line
// breaks and periods.
std::string SystemErrorText(int Code);

// The outcome of a request that the system took (true) or refused (its message for the last error).
TBridgeOutcome SystemOutcome(bool Accepted);

// The rejection text of a file that could not be written: Cannot write the file "<path>": <text>.
std::string CannotWriteText(const std::string& Path, int Code);

} // namespace Corvane::Bridge
