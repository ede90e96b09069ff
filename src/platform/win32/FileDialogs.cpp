// File dialogs over the common item dialogs (IFileOpenDialog, IFileSaveDialog), in the system's
// own look whatever style is active.
#include "platform/FileDialogs.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <filesystem>

#include "platform/Form.h"
#include "platform/win32/Wide.h"

namespace Platform {

namespace {

template <typename T> struct TComPtr {
    T* P = nullptr;
    ~TComPtr() {
        if (P) P->Release();
    }
    T** operator&() { return &P; }
    T* operator->() const { return P; }
};

IShellItem* FolderItem(const std::wstring& folder) {
    IShellItem* item = nullptr;
    if (folder.empty() || FAILED(SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_IShellItem,
                                                             reinterpret_cast<void**>(&item))))
        return nullptr;
    return item;
}

// Puts the component's settings on the native dialog.
void Prepare(IFileDialog* dialog, const TFileDialog& component, const std::string& lastFolder,
             std::vector<std::wstring>& texts) {
    const bool save = component.Kind() == TFileDialogKind::Save;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    options |= FOS_FORCEFILESYSTEM;
    if (save && component.OverwritePrompt) {
        options |= FOS_OVERWRITEPROMPT;
    } else {
        options &= ~static_cast<FILEOPENDIALOGOPTIONS>(FOS_OVERWRITEPROMPT);
    }
    dialog->SetOptions(options);

    // The filter texts live in texts until the dialog is gone.
    texts.clear();
    texts.reserve(component.FileTypes.size() * 2);
    std::vector<COMDLG_FILTERSPEC> specs;
    for (const auto& type : component.FileTypes) {
        texts.push_back(Win32::Widen(type.DisplayName));
        texts.push_back(Win32::Widen(type.FileMask));
        specs.push_back({texts[texts.size() - 2].c_str(), texts.back().c_str()});
    }
    if (!specs.empty()) {
        dialog->SetFileTypes(static_cast<UINT>(specs.size()), specs.data());
        const bool inRange =
            component.FileTypeIndex >= 1 && component.FileTypeIndex <= static_cast<int>(specs.size());
        dialog->SetFileTypeIndex(inRange ? static_cast<UINT>(component.FileTypeIndex) : 1);
    }
    if (!component.Title.empty()) dialog->SetTitle(Win32::Widen(component.Title).c_str());

    // A name with a folder opens the dialog in that folder; a bare name, in the last one used.
    const std::filesystem::path name(Win32::Widen(component.FileName));
    const std::wstring folder = name.is_absolute() ? name.parent_path().wstring() : Win32::Widen(lastFolder);
    if (IShellItem* item = FolderItem(folder)) {
        dialog->SetFolder(item);
        item->Release();
    }
    if (!name.filename().empty()) dialog->SetFileName(name.filename().c_str());
}

std::string ChosenPath(IFileDialog* dialog) {
    TComPtr<IShellItem> item;
    wchar_t* path = nullptr;
    if (FAILED(dialog->GetResult(&item)) || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) return {};
    std::string chosen = Win32::Narrow(path);
    CoTaskMemFree(path);
    return chosen;
}

} // namespace

TFileDialog::TFileDialog(TFileDialogKind kind) : FKind(kind) {}

TFileDialog::~TFileDialog() {
    if (FDestroyed) *FDestroyed = true;
    if (FShowing) static_cast<IFileDialog*>(FShowing)->Close(HRESULT_FROM_WIN32(ERROR_CANCELLED));
}

TFileDialogResult TFileDialog::Execute(TForm* fallbackOwner) {
    // Harmless when the thread is already in an apartment.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const auto uninitialize = [init] {
        if (SUCCEEDED(init)) CoUninitialize();
    };
    const bool save = FKind == TFileDialogKind::Save;
    IFileDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(save ? CLSID_FileSaveDialog : CLSID_FileOpenDialog, nullptr,
                                CLSCTX_INPROC_SERVER, save ? IID_IFileSaveDialog : IID_IFileOpenDialog,
                                reinterpret_cast<void**>(&dialog)))) {
        uninitialize();
        return TFileDialogResult::Cancelled;
    }
    std::vector<std::wstring> texts;
    Prepare(dialog, *this, FLastFolder, texts);
    HWND owner = GetActiveWindow();
    if (!owner && fallbackOwner) owner = static_cast<HWND>(fallbackOwner->Handle());

    // A showing of this component can start from an event of an earlier one still showing.
    bool destroyed = false;
    bool* outerDestroyed = FDestroyed;
    void* outerShowing = FShowing;
    FDestroyed = &destroyed;
    FShowing = dialog;
    const HRESULT shown = dialog->Show(owner);
    if (destroyed) {
        if (outerDestroyed) *outerDestroyed = true;
        if (outerShowing) static_cast<IFileDialog*>(outerShowing)->Close(HRESULT_FROM_WIN32(ERROR_CANCELLED));
        dialog->Release();
        uninitialize();
        return TFileDialogResult::Destroyed;
    }
    FDestroyed = outerDestroyed;
    FShowing = outerShowing;
    UINT chosenType = 0;
    if (!FileTypes.empty() && SUCCEEDED(dialog->GetFileTypeIndex(&chosenType)) && chosenType >= 1)
        FileTypeIndex = static_cast<int>(chosenType);
    const std::string chosen = SUCCEEDED(shown) ? ChosenPath(dialog) : std::string();
    dialog->Release();
    uninitialize();

    if (chosen.empty()) return TFileDialogResult::Cancelled;
    FileName = chosen;
    FLastFolder = Win32::Narrow(std::filesystem::path(Win32::Widen(chosen)).parent_path().wstring());
    return TFileDialogResult::Confirmed;
}

} // namespace Platform
