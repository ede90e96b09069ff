// Modal message dialogs and error boxes.
#pragma once

#include <string>
#include <vector>

namespace Platform {

enum class TDialogKind { Error, Confirmation, Information, Warning };
enum class TDialogButton { Yes, No, OK, Cancel };

// Modal results, numbered as the standard dialog results.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrYes = 6;
constexpr int mrNo = 7;

struct TMessageDialogOptions {
    std::string Text;
    std::string Title;
    TDialogKind Kind = TDialogKind::Error;
    std::vector<TDialogButton> Buttons;      // laid out in standard order: Yes, No, OK, Cancel
    std::vector<std::string> ButtonCaptions; // captions for the buttons in that order
};

// Shows a modal dialog, owned by the active window if there is one, and returns the result of the
// button that closed it; Escape and the close box give mrCancel. The dialog's title and text are
// also written to standard error, so a refusal is readable where no display can be opened (then
// the result is mrCancel).
int ShowMessageDialog(const TMessageDialogOptions& options);

// A plain error box with one OK button (the system message box with the error icon).
void ShowErrorBox(const std::string& text, const std::string& title);

} // namespace Platform
