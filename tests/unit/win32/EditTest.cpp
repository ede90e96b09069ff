// The edit box of the Win32 backend: masked text, the key-up event a password prompt closes on, and
// the focus given before its form shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "PumpUntil.h"
#include "platform/Dialogs.h"
#include "platform/Edit.h"
#include "platform/Form.h"

namespace {

using namespace Platform;

HWND EditWindow(const TEdit& edit) {
    return GetWindow(static_cast<HWND>(edit.Handle()), GW_CHILD);
}

// A key as the system delivers it to the focused window.
void Type(HWND window, wchar_t c) {
    const auto key = static_cast<WPARAM>(VkKeyScanW(c) & 0xFF);
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_CHAR, c, 1);
    PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

TEST(Win32Edit, MaskingHidesTheTextButNotFromText) {
    TEdit edit;
    edit.SetText("Grüße");
    edit.SetPasswordChar(U'*');
    EXPECT_EQ(SendMessageW(EditWindow(edit), EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_NE(GetWindowLongPtrW(EditWindow(edit), GWL_STYLE) & ES_PASSWORD, 0);
    EXPECT_EQ(edit.Text(), "Grüße");
    edit.SetPasswordChar(0);
    EXPECT_EQ(SendMessageW(EditWindow(edit), EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_EQ(edit.Text(), "Grüße");

    edit.SetEnabled(false);
    EXPECT_FALSE(edit.Enabled());
    EXPECT_FALSE(IsWindowEnabled(EditWindow(edit)));
}

TEST(Win32Edit, FocusGivenBeforeTheFormShowsArrivesWhenItShows) {
    TForm form;
    TEdit edit;
    edit.SetParent(&form);
    edit.SetBounds(24, 24, 257, 21);
    int entered = 0;
    edit.OnEnter = [&] { ++entered; };
    edit.SetFocus();
    form.Show();
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == EditWindow(edit); }));
    EXPECT_TRUE(edit.Focused());
    EXPECT_EQ(entered, 1);
}

// The password prompt's way: no buttons, the form closes with OK on the key release that makes the
// text match, and not on a near miss.
TEST(Win32Edit, KeyUpAfterEachKeySeesTheTextTypedSoFar) {
    TForm form;
    form.SetBorderStyle(TBorderStyle::Dialog);
    form.SetBounds(0, 0, 308, 110);
    TEdit edit;
    edit.SetParent(&form);
    edit.SetBounds(24, 24, 257, 21);
    edit.SetPasswordChar(U'*');
    edit.SetFocus();
    std::string seen;
    edit.OnKeyUp = [&] {
        seen += "|" + edit.Text();
        if (edit.Text() == "pw") form.SetModalResult(mrOk);
    };
    // A first window of the session can take seconds to get the focus: the keys wait for it.
    int tries = 0;
    std::function<void()> typeWhenFocused = [&] {
        if (GetFocus() != EditWindow(edit) && ++tries < 200) return AfterDelay(50, typeWhenFocused);
        for (wchar_t c : std::wstring(L"Pw\r\x1b\b\bpw"))
            Type(GetFocus(), c);
        AfterDelay(3000, [&] { form.SetModalResult(mrCancel); }); // when the match is missed
    };
    AfterDelay(100, typeWhenFocused);
    EXPECT_EQ(form.ShowModal(), mrOk);
    // The other case does not match, Enter and Escape change nothing; the release of the last key of
    // the right text closes the form.
    EXPECT_EQ(seen, "|P|Pw|Pw|Pw|P||p|pw");
}

} // namespace
