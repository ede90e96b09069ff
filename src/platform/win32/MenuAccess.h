// What forms of the Win32 backend need of a menu: its bar, its form, its access keys and the
// window messages through which it is drawn and clicked.
#pragma once

#include <windows.h>

#include "platform/Form.h"
#include "platform/Images.h"
#include "platform/Menu.h"

namespace Platform {

struct TMenuAccess {
    static HMENU Bar(TMainMenu& menu);                 // the bar, owned by the menu
    static void SetForm(TMainMenu& menu, TForm* form); // the form the bar is shown on, or null
    // Alt + an access key / F10 offered to the menu; true when it took the key.
    static bool IsShortCut(TMainMenu& menu, const TKeyMessage& message);
    // WM_COMMAND, WM_MEASUREITEM, WM_DRAWITEM, WM_INITMENUPOPUP, WM_MENUCHAR, WM_UNINITMENUPOPUP of
    // the form that shows the menu; true when the menu handled it (result set).
    static bool HandleMessage(TMainMenu& menu, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result);
    // Picture index of the collection, owned by it.
    static const TBitmap& Picture(const TImageCollection& images, int index);
};

} // namespace Platform
