// Stands in for the Win32 form in these tests, which show menus and dialogs on bare windows: the
// only form members that the menu and the dialogs call.
#include <windows.h>

#include "platform/Form.h"

namespace Platform {

HWND gStubFormWindow = nullptr;

void* TForm::Handle() const {
    return gStubFormWindow;
}

void TForm::SetMenu(TMainMenu* menu) {
    if (!menu && gStubFormWindow) ::SetMenu(gStubFormWindow, nullptr);
}

} // namespace Platform
