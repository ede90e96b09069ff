// Message dialogs of the Win32 backend: the buttons carry the captions asked for, in standard
// order, and give their results; the close box gives Cancel.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OwnWindow.h"
#include "PumpUntil.h"
#include "platform/Dialogs.h"

namespace {

using namespace Platform;

struct TButtons {
    std::vector<std::wstring> Captions;
    std::vector<HWND> Windows;
};

HWND FindDialog(const wchar_t* title) {
    return FindOwnWindow(L"CrvMessageDialog", title);
}

TButtons ButtonsOf(HWND dialog) {
    TButtons buttons;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            wchar_t name[32], text[64];
            GetClassNameW(child, name, 32);
            if (lstrcmpiW(name, L"Button") != 0) return TRUE;
            GetWindowTextW(child, text, 64);
            auto& b = *reinterpret_cast<TButtons*>(data);
            b.Captions.push_back(text);
            b.Windows.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&buttons));
    return buttons;
}

TEST(Win32MessageDialog, ButtonsCarryTheCaptionsAndClickingOneGivesItsResult) {
    struct TCase {
        std::vector<TDialogButton> Buttons;
        std::vector<std::string> Captions;
        std::vector<std::wstring> Shown;
        int Click; // index of the button clicked
        int Result;
    };
    const TCase cases[] = {
        // Laid out in standard order whatever the order asked for.
        {{TDialogButton::No, TDialogButton::Yes},
         {"J'accepte", "Refuser"},
         {L"J'accepte", L"Refuser"},
         1,
         mrNo},
        // Captions missing at the end keep the standard ones; an ampersand shows as itself.
        {{TDialogButton::OK, TDialogButton::Cancel}, {"Save & go"}, {L"Save && go", L"Cancel"}, 0, mrOk},
        // No buttons asked for: one OK.
        {{}, {}, {L"OK"}, 0, mrOk},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> shown;
        AfterDelay(100, [&] {
            HWND dialog = FindDialog(L"Crv Dialog");
            TButtons buttons = ButtonsOf(dialog);
            shown = buttons.Captions;
            if (c.Click < static_cast<int>(buttons.Windows.size()))
                PostMessageW(buttons.Windows[static_cast<std::size_t>(c.Click)], BM_CLICK, 0, 0);
            else
                PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
        const int result = ShowMessageDialog(
            {"Do you accept the licence?", "Crv Dialog", TDialogKind::Confirmation, c.Buttons, c.Captions});
        EXPECT_EQ(shown, c.Shown);
        EXPECT_EQ(result, c.Result);
    }
    EXPECT_EQ(FindDialog(L"Crv Dialog"), nullptr);
}

TEST(Win32MessageDialog, TheCloseBoxAndEscapeGiveCancel) {
    for (const bool escape : {false, true}) {
        AfterDelay(100, [escape] {
            HWND dialog = FindDialog(L"Crv Dialog");
            if (!escape) return (void)PostMessageW(dialog, WM_CLOSE, 0, 0);
            HWND focus = GetFocus();
            PostMessageW(focus ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        });
        EXPECT_EQ(ShowMessageDialog({"Text", "Crv Dialog", TDialogKind::Error, {TDialogButton::OK}, {"OK"}}),
                  mrCancel)
            << escape;
    }
}

TEST(Win32MessageDialog, EnterTakesTheDefaultButton) {
    AfterDelay(100, [] {
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(ShowMessageDialog({"Text",
                                 "Crv Dialog",
                                 TDialogKind::Warning,
                                 {TDialogButton::Yes, TDialogButton::No},
                                 {"Oui", "Non"}}),
              mrYes);
}

} // namespace
