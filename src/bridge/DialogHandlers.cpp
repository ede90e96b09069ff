// dialogs.*: the open and save file dialogs.
#include <nlohmann/json.hpp>

#include "bridge/BrowserExternalModule.h"
#include "bridge/FileTypes.h"
#include "shared/StrUtils.h"

namespace Corvane::Shared {

namespace {

using Platform::TFileDialogResult;

// What both dialogs take from the call; the file type index stays as the user last chose it.
void ReadDialogArgs(Platform::TFileDialog& Dialog, const TJsonValue& Data, const std::string& DefaultTitle) {
    Dialog.FileName = TBrowserExternalModule::ReadStringArg(Data, "fileName", "");
    Dialog.Title = TBrowserExternalModule::ReadStringArg(Data, "title", DefaultTitle);
    Dialog.FileTypes = ParseFileTypes(TBrowserExternalModule::ReadStringArg(Data, "fileTypes", ""));
}

// The reply's result: the chosen path, or "" when the user cancelled.
std::string ChosenFile(const Platform::TFileDialog& Dialog, TFileDialogResult Result) {
    return TStrUtils::StringToJsonString(Result == TFileDialogResult::Confirmed ? Dialog.FileName
                                                                                : std::string());
}

} // namespace

void TBrowserExternalModule::DialogsOpenFile(const std::string& UUID, const TJsonValue& Data) {
    ReadDialogArgs(FileOpenDialog, Data, "Open file");
    const auto result = FileOpenDialog.Execute(MainForm);
    // Destroyed: the page closed the application while the dialog showed; nobody is left to answer.
    if (result != TFileDialogResult::Destroyed) SendSuccess(UUID, ChosenFile(FileOpenDialog, result));
}

void TBrowserExternalModule::DialogsSaveFile(const std::string& UUID, const TJsonValue& Data) {
    ReadDialogArgs(FileSaveDialog, Data, "Save file");
    FileSaveDialog.OverwritePrompt = ReadBoolArg(Data, "overwritePrompt", false);
    const auto result = FileSaveDialog.Execute(MainForm);
    if (result != TFileDialogResult::Destroyed) SendSuccess(UUID, ChosenFile(FileSaveDialog, result));
}

} // namespace Corvane::Shared
