// The end of the session ends the program in order: the main loop returns, a modal form ends as
// cancelled and later dialogs answer at once. (Its own program: the ending cannot be undone.)
#include <windows.h>

#include <gtest/gtest.h>

#include "PumpUntil.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Form.h"

namespace {

using namespace Platform;

TEST(Win32SessionEnd, EndsTheModalFormTheLoopAndLaterDialogs) {
    ASSERT_TRUE(EnsureUiInitialized());
    TForm form;
    int modalResult = -1;
    QueueOnUiThread([&] {
        AfterDelay(50, [] {
            // The system asks every top-level window, the hidden one of the application included.
            EnumThreadWindows(
                GetCurrentThreadId(),
                [](HWND window, LPARAM) -> BOOL {
                    PostMessageW(window, WM_QUERYENDSESSION, 0, 0);
                    return TRUE;
                },
                0);
        });
        modalResult = form.ShowModal();
    });
    RunMainLoop(); // returns once the session ends
    EXPECT_EQ(modalResult, mrCancel);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(ShowMessageDialog({"Still there?", "Crv", TDialogKind::Confirmation, {TDialogButton::Yes}, {}}),
              mrCancel);
}

} // namespace
