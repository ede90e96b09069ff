// dialogs.*: the open and save file dialogs.
#include <nlohmann/json.hpp>

#include "bridge/BrowserExternalModule.h"
#include "bridge/FileTypes.h"

namespace Corvane::Bridge {

using namespace Corvane::Shared;
using namespace Corvane::Browser;

namespace {

using Platform::TFileDialogResult;

// What both dialogs take from the call; the file type index stays as the user last chose it.
void ReadDialogArgs(Platform::TFileDialog& dialog, const TJsonValue& data, const std::string& defaultTitle) {
    dialog.FileName = TBrowserExternalModule::ReadStringArg(data, "fileName", "");
    dialog.Title = TBrowserExternalModule::ReadStringArg(data, "title", defaultTitle);
    dialog.FileTypes = ParseFileTypes(TBrowserExternalModule::ReadStringArg(data, "fileTypes", ""));
}

// The chosen path, or "" when the user cancelled. Destroyed: the page closed the application while
// the dialog showed; nobody is left to answer.
TBridgeOutcome ChosenFile(const Platform::TFileDialog& dialog, TFileDialogResult result) {
    if (result == TFileDialogResult::Destroyed) return TBridgeOutcome::NoReply();
    return TBridgeOutcome::Result(result == TFileDialogResult::Confirmed ? dialog.FileName : std::string());
}

} // namespace

TBridgeOutcome TBrowserExternalModule::DialogsOpenFile(const TJsonValue& data) {
    ReadDialogArgs(FileOpenDialog, data, "Open file");
    const auto result = FileOpenDialog.Execute(MainForm);
    return ChosenFile(FileOpenDialog, result);
}

TBridgeOutcome TBrowserExternalModule::DialogsSaveFile(const TJsonValue& data) {
    ReadDialogArgs(FileSaveDialog, data, "Save file");
    FileSaveDialog.OverwritePrompt = ReadBoolArg(data, "overwritePrompt", false);
    const auto result = FileSaveDialog.Execute(MainForm);
    return ChosenFile(FileSaveDialog, result);
}

} // namespace Corvane::Bridge
