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
void ReadDialogArgs(Platform::TFileDialog& Dialog, const TJsonValue& Data, const std::string& DefaultTitle) {
    Dialog.FileName = TBrowserExternalModule::ReadStringArg(Data, "fileName", "");
    Dialog.Title = TBrowserExternalModule::ReadStringArg(Data, "title", DefaultTitle);
    Dialog.FileTypes = ParseFileTypes(TBrowserExternalModule::ReadStringArg(Data, "fileTypes", ""));
}

// The chosen path, or "" when the user cancelled. Destroyed: the page closed the application while
// the dialog showed; nobody is left to answer.
TBridgeOutcome ChosenFile(const Platform::TFileDialog& Dialog, TFileDialogResult Result) {
    if (Result == TFileDialogResult::Destroyed) return TBridgeOutcome::NoReply();
    return TBridgeOutcome::Result(Result == TFileDialogResult::Confirmed ? Dialog.FileName : std::string());
}

} // namespace

TBridgeOutcome TBrowserExternalModule::DialogsOpenFile(const TJsonValue& Data) {
    ReadDialogArgs(FileOpenDialog, Data, "Open file");
    const auto result = FileOpenDialog.Execute(MainForm);
    return ChosenFile(FileOpenDialog, result);
}

TBridgeOutcome TBrowserExternalModule::DialogsSaveFile(const TJsonValue& Data) {
    ReadDialogArgs(FileSaveDialog, Data, "Save file");
    FileSaveDialog.OverwritePrompt = ReadBoolArg(Data, "overwritePrompt", false);
    const auto result = FileSaveDialog.Execute(MainForm);
    return ChosenFile(FileSaveDialog, result);
}

} // namespace Corvane::Bridge
