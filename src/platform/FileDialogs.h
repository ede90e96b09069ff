// Modal open and save file dialogs that keep their settings from one showing to the next.
#pragma once

#include <string>
#include <vector>

namespace Platform {

class TForm;

struct TFileType {
    std::string DisplayName;
    // One pattern with * and ?, matched without case; "*.*" matches every file.
    std::string FileMask;
};

enum class TFileDialogKind { Open, Save };

enum class TFileDialogResult {
    Confirmed,
    Cancelled,
    // The component was destroyed while it showed (its owner went away meanwhile): neither it nor
    // its owner may be touched any more.
    Destroyed
};

// A dialog component: the caller sets the properties, Execute shows it. What the user chooses
// (the file, the filter) stays in the component for the next showing.
class TFileDialog {
public:
    explicit TFileDialog(TFileDialogKind kind);
    ~TFileDialog();
    TFileDialog(const TFileDialog&) = delete;
    TFileDialog& operator=(const TFileDialog&) = delete;

    TFileDialogKind Kind() const { return FKind; }

    std::vector<TFileType> FileTypes;
    // 1-based position of the filter selected when the dialog opens; the user's last choice after
    // each showing.
    int FileTypeIndex = 1;
    // The initial name (a path puts the dialog in its folder); after a confirmed showing, the
    // chosen file's full path. Empty: nothing is preset.
    std::string FileName;
    // Empty: a title saying what the dialog does.
    std::string Title;
    // Save dialog: asks before an existing file is returned.
    bool OverwritePrompt = false;

    // Shows the dialog modally, owned by the active window, else by fallbackOwner (may be null).
    // Confirmed: the chosen file is in FileName. No display to show it on counts as Cancelled.
    // Events keep running while it shows, so whatever owns the component can go away meanwhile.
    TFileDialogResult Execute(TForm* fallbackOwner = nullptr);

private:
    TFileDialogKind FKind;
    // The folder of the last confirmed file: where the next showing starts when FileName names none.
    std::string FLastFolder;
    // While Execute runs: the native dialog, and where the destructor tells Execute that the
    // component is gone (it also closes the dialog then).
    void* FShowing = nullptr;
    bool* FDestroyed = nullptr;
};

class TFileOpenDialog : public TFileDialog {
public:
    TFileOpenDialog() : TFileDialog(TFileDialogKind::Open) {}
};

class TFileSaveDialog : public TFileDialog {
public:
    TFileSaveDialog() : TFileDialog(TFileDialogKind::Save) {}
};

} // namespace Platform
