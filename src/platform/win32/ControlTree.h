// What forms and controls of the Win32 backend share: the control tree behind the public classes.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/Control.h"
#include "platform/Form.h"

namespace Platform {

struct TControlAccess {
    static HWND Window(const TWinControl& control);
    // Makes control the root of form's client area, a child of the form's window.
    static void MakeClientOf(TWinControl& control, TForm* form, HWND formWindow);
    static void SetRootSize(TWinControl& root, int width, int height);
    // Takes the controls out of root before its window goes.
    static void ReleaseChildren(TWinControl& root);
    // The window that takes the focus given to the control (an edit box inside it, say).
    static void SetFocusTarget(TWinControl& control, HWND target);
    // After the window's focus moved to window (nullptr: none): exit and enter handlers in that order.
    static void FocusMoved(TWinControl& root, HWND window);
    static void BroadcastSysCommand(TWinControl& root, TSysCommand command);
    // root and every control below it, parents before their children.
    static std::vector<TWinControl*> Tree(TWinControl& root);
};

} // namespace Platform
