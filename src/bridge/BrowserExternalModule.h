// The native half of the bridge: receives the page's call messages, runs the handler that the
// function id names and posts the reply that its outcome calls for. The handlers of each family
// live in their own file (AppHandlers.cpp, FileHandlers.cpp, ...).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
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
    // The handler: of functions without arguments it ignores data.
    TBridgeOutcome (TBrowserExternalModule::*Handler)(const TJsonValue& data);
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
    std::function<void(TBrowserExternalModule* sender)> OnAppCloseRequest;

    // One call message in, at most one reply out: the handler's outcome, posted here and nowhere
    // else. Never lets an exception out; a handler that throws gets no reply and a line on stderr,
    // and so does a reply that cannot be posted.
    void EdgeBrowserWebMessageReceived(Browser::TCustomEdgeBrowser* sender,
                                       Browser::TWebMessageReceivedEventArgs& args);

    // Argument readers of the top level of data; they never reply. Absent or null: fallback. A string
    // gives its text, a number its text as sent, true/false the words; an object or array throws.
    static std::string ReadStringArg(const TJsonValue& data, const std::string& key,
                                     const std::string& fallback);
    // Absent or null: fallback; true or false: the value; anything else throws.
    static bool ReadBoolArg(const TJsonValue& data, const std::string& key, bool fallback);

    // The handlers, one per function id.
    TBridgeOutcome Hello(const TJsonValue& data);
    TBridgeOutcome IsRuntime(const TJsonValue& data);
    TBridgeOutcome SystemLogoff(const TJsonValue& data);
    TBridgeOutcome SystemReboot(const TJsonValue& data);
    TBridgeOutcome SystemShutdown(const TJsonValue& data);
    TBridgeOutcome FilesFileExists(const TJsonValue& data);
    TBridgeOutcome FilesDeleteFile(const TJsonValue& data);
    TBridgeOutcome FilesWriteTextFile(const TJsonValue& data);
    TBridgeOutcome FilesExtractFile(const TJsonValue& data);
    TBridgeOutcome FoldersDirExists(const TJsonValue& data);
    TBridgeOutcome FoldersDeleteDir(const TJsonValue& data);
    TBridgeOutcome FoldersGetTempDir(const TJsonValue& data);
    TBridgeOutcome FoldersGetUserDocumentsDir(const TJsonValue& data);
    TBridgeOutcome FoldersGetUserDesktopDir(const TJsonValue& data);
    TBridgeOutcome FoldersGetAppExecutableDir(const TJsonValue& data);
    TBridgeOutcome FoldersGetAppDataDir(const TJsonValue& data);
    TBridgeOutcome AppClose(const TJsonValue& data);
    TBridgeOutcome AppInFullscreen(const TJsonValue& data);
    TBridgeOutcome AppEnterFullscreen(const TJsonValue& data);
    TBridgeOutcome AppExitFullscreen(const TJsonValue& data);
    TBridgeOutcome WindowGetStyle(const TJsonValue& data);
    TBridgeOutcome WindowSetStyle(const TJsonValue& data);
    TBridgeOutcome WindowGetState(const TJsonValue& data);
    TBridgeOutcome WindowSetState(const TJsonValue& data);
    TBridgeOutcome WindowGetTitle(const TJsonValue& data);
    TBridgeOutcome WindowSetTitle(const TJsonValue& data);
    TBridgeOutcome MainMenuSetItems(const TJsonValue& data);
    TBridgeOutcome MainMenuUpdateItem(const TJsonValue& data);
    TBridgeOutcome DialogsOpenFile(const TJsonValue& data);
    TBridgeOutcome DialogsSaveFile(const TJsonValue& data);
    TBridgeOutcome ShellExecuteFile(const TJsonValue& data);
    TBridgeOutcome ShellExploreFile(const TJsonValue& data);
    TBridgeOutcome ShellCommand(const TJsonValue& data);
    TBridgeOutcome ShellWindows(const TJsonValue& data);
    TBridgeOutcome ThemesGetTheme(const TJsonValue& data);
    TBridgeOutcome ThemesGetThemes(const TJsonValue& data);
    TBridgeOutcome ThemesSetTheme(const TJsonValue& data);
    TBridgeOutcome Base64DecodeToFile(const TJsonValue& data);

    // The function-id table, ordered by id; ends with an entry of id 0.
    static const TBridgeFunction* Functions();
    // The row of id, or null.
    static const TBridgeFunction* FindFunction(int id);

private:
    void Dispatch(Browser::TWebMessageReceivedEventArgs& args);
    void PostReply(const std::string& uuid, const TBridgeOutcome& outcome);
    void DataModuleCreate();
    void DataModuleDestroy();
    void ClearReferences();
    // The path argument key under the application folder, or "" when the argument is missing.
    std::string ReadAppPathArg(const TJsonValue& data, const char* key);

    // dialogs.*: reused for every call, so each remembers the filter the user last chose.
    Platform::TFileOpenDialog FileOpenDialog;
    Platform::TFileSaveDialog FileSaveDialog;

    // mainMenu.*: the hidden form that owns the menu and its pictures, made and freed with the module.
    std::unique_ptr<class TBrowserExternalForm> FBrowserExternalForm;
    // Fills menuItem from the item object and builds its children. False when an id, caption or
    // item list has the wrong JSON type; a member that is not an object throws.
    bool BuildMenuItem(const TJsonValue& item, Platform::TMenuItem& menuItem);
    // The first item with tag in the subtree of menuItem, depth first, or null.
    static Platform::TMenuItem* FindMenuItemByTag(Platform::TMenuItem& menuItem, std::int32_t tag);
    void MainMenuItemClick(Platform::TMenuItem& sender);
    // Gives the item the picture at path (the package entry, beside the executable, or the path).
    void LoadMenuImage(const std::string& path, Platform::TMenuItem& menuItem);
};

// Deepest nesting of arrays and objects a message may have: the handlers that walk a document
// recurse, so a page must not choose how deep. Real menus nest a few levels.
inline constexpr std::size_t kMaxJsonDepth = 200;

// Thrown by ParseMessageJson for a document nested deeper than kMaxJsonDepth.
class EJsonTooDeep : public std::invalid_argument {
public:
    EJsonTooDeep();
};

// Parses the message's JSON text. Numbers keep the text they were sent with (the bridge reads
// every number as text). Throws when the text is not JSON, EJsonTooDeep when it nests too deep.
TJsonValue ParseMessageJson(const std::string& text);

// The system's message for an error code, as a rejection wants it: without trailing blanks, line
// breaks and periods.
std::string SystemErrorText(int code);

// The outcome of a request that the system took (true) or refused (its message for the last error).
TBridgeOutcome SystemOutcome(bool accepted);

// The rejection text of a file that could not be written: Cannot write the file "<path>": <text>.
std::string CannotWriteText(const std::string& path, int code);

} // namespace Corvane::Bridge
