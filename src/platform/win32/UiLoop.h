// What the Win32 windows share of the message loop: pumping, the end of the program, modality and
// the private messages between forms and controls.
#pragma once

#include <windows.h>

#include <vector>

namespace Platform {

class TForm;

constexpr const wchar_t* kFormClass = L"CrvForm";
constexpr const wchar_t* kControlClass = L"CrvControl";
// On a form's window: the window inside it that takes the focus when the form is activated.
constexpr const wchar_t* kFocusProperty = L"CrvPendingFocus";

// Asks a top-level window for its background colour (the answer is a COLORREF).
constexpr UINT kBackgroundMessage = WM_APP + 0x70;

// Takes one message (waiting for it if wait) and dispatches it, after offering keys to the form's
// shortcuts and, when dialog is set, to its dialog keys. False when no message was there or on
// WM_QUIT, which stays queued so that every loop on the way out ends on it.
bool PumpMessage(bool wait, HWND dialog = nullptr);
// Once the session ends or Ctrl-C arrives, modal loops end as if closed and new dialogs answer at once.
bool EndingProgram();
// Wakes a waiting PumpMessage, so that its caller looks at its state again.
void WakeMessageLoop();
// The hidden window that receives queued work and session messages; unparented controls live in it.
HWND AppWindow();
// The form whose top-level window holds window; null for other windows.
TForm* FormOfWindow(HWND window);
// Reports where the keyboard focus now is to the forms that lost or got it.
void NoteFocus();
// The visible top-level window of this thread that is active, as the owner of a new dialog.
HWND ActiveWindow();
// Horizontal dots per inch of a window, or of the system for null.
int DpiOf(HWND window);
// The colour a control paints its background with: that of its form, or the theme's face colour.
COLORREF BackgroundOf(HWND window);

// Disables the thread's other visible windows while a modal window runs, and enables them again.
class TModalScope {
public:
    explicit TModalScope(HWND modal);
    ~TModalScope();
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;

private:
    std::vector<HWND> FDisabled;
};

} // namespace Platform
