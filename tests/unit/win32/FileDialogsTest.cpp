// Tests of the common item dialogs behind the file dialog components: run modally, answered by a
// helper thread that finds the dialog by its title as a user would.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "OwnWindow.h"
#include "platform/FileDialogs.h"
#include "platform/win32/Wide.h"

using namespace Platform;

namespace {

constexpr int kFileNameEdit = 1152;
constexpr int kFileTypeCombo = 1136;

// Waits on its own thread for the dialog of that title, then acts on it as the user.
class TUser {
public:
    TUser(const wchar_t* title, std::function<void(HWND)> act)
        : FThread([title, act] {
              for (int i = 0; i < 300; ++i) {
                  if (HWND dialog = FindOwnWindow(nullptr, title)) {
                      std::this_thread::sleep_for(std::chrono::milliseconds(300)); // let it settle
                      act(dialog);
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
              }
          }) {}
    ~TUser() { FThread.join(); }

private:
    std::thread FThread;
};

HWND Control(HWND dialog, int id) {
    struct TSearch {
        int Id;
        HWND Found;
    } search{id, nullptr};
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) {
            auto* s = reinterpret_cast<TSearch*>(data);
            if (GetDlgCtrlID(child) != s->Id) return TRUE;
            s->Found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::string ControlText(HWND dialog, int id) {
    wchar_t text[260] = {};
    GetWindowTextW(Control(dialog, id), text, 260);
    return Win32::Narrow(text);
}

void Cancel(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

void TypeAndConfirm(HWND dialog, const std::string& path) {
    SendMessageW(Control(dialog, kFileNameEdit), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Win32::Widen(path).c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

void ChooseFileType(HWND dialog, int index) {
    HWND combo = Control(dialog, kFileTypeCombo);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(kFileTypeCombo, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

std::string TempFolder() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    return Win32::Narrow(path);
}

} // namespace

TEST(Win32FileDialogs, CancelAnswersCancelledAndKeepsTheChosenFilterForTheNextShowing) {
    TFileOpenDialog dialog;
    dialog.Title = "crv open test";
    dialog.FileTypes = {{"Text files", "*.txt"}, {"All files", "*.*"}};
    dialog.FileName = "notes.txt";
    std::string offered;
    {
        TUser user(L"crv open test", [&](HWND window) {
            offered = ControlText(window, kFileTypeCombo);
            ChooseFileType(window, 2);
            Cancel(window);
        });
        EXPECT_EQ(dialog.Execute(), TFileDialogResult::Cancelled);
    }
    EXPECT_EQ(offered, "Text files");
    EXPECT_EQ(dialog.FileTypeIndex, 2);
    EXPECT_EQ(dialog.FileName, "notes.txt") << "untouched by a cancelled showing";
    {
        TUser user(L"crv open test", [&](HWND window) {
            offered = ControlText(window, kFileTypeCombo);
            Cancel(window);
        });
        EXPECT_EQ(dialog.Execute(), TFileDialogResult::Cancelled);
    }
    EXPECT_EQ(offered, "All files");
}

TEST(Win32FileDialogs, ReturnsTheTypedPathInTheFolderItOpensIn) {
    const std::string folder = TempFolder();
    const std::string existing = folder + "crv-dialog-existing.txt";
    CloseHandle(
        CreateFileW(Win32::Widen(existing).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    TFileOpenDialog open;
    open.Title = "crv open typed";
    {
        TUser user(L"crv open typed", [&](HWND window) { TypeAndConfirm(window, existing); });
        ASSERT_EQ(open.Execute(), TFileDialogResult::Confirmed);
    }
    EXPECT_EQ(CompareStringOrdinal(Win32::Widen(open.FileName).c_str(), -1, Win32::Widen(existing).c_str(),
                                   -1, TRUE),
              CSTR_EQUAL)
        << open.FileName;

    // A bare name is taken in the folder of the preset name.
    TFileSaveDialog save;
    save.Title = "crv save typed";
    save.FileName = folder + "start.txt";
    {
        TUser user(L"crv save typed", [&](HWND window) { TypeAndConfirm(window, "crv-dialog-new.txt"); });
        ASSERT_EQ(save.Execute(), TFileDialogResult::Confirmed);
    }
    const std::string expected = folder + "crv-dialog-new.txt";
    EXPECT_EQ(CompareStringOrdinal(Win32::Widen(save.FileName).c_str(), -1, Win32::Widen(expected).c_str(),
                                   -1, TRUE),
              CSTR_EQUAL)
        << save.FileName;
    DeleteFileW(Win32::Widen(existing).c_str());
}

TEST(Win32FileDialogs, AsksBeforeReturningAnExistingFileOnlyWhenTold) {
    const std::string existing = TempFolder() + "crv-dialog-overwrite.txt";
    CloseHandle(
        CreateFileW(Win32::Widen(existing).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    TFileSaveDialog save;
    save.Title = "crv save overwrite";
    {
        TUser user(L"crv save overwrite", [&](HWND window) { TypeAndConfirm(window, existing); });
        EXPECT_EQ(save.Execute(), TFileDialogResult::Confirmed);
    }

    // With the prompt the dialog stays and asks; the test then gives up on both.
    save.OverwritePrompt = true;
    bool asked = false;
    {
        TUser user(L"crv save overwrite", [&](HWND window) {
            TypeAndConfirm(window, existing);
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            HWND prompt = nullptr;
            std::pair<HWND, HWND*> search(window, &prompt);
            EnumThreadWindows(
                GetWindowThreadProcessId(window, nullptr),
                [](HWND candidate, LPARAM data) {
                    auto* found = reinterpret_cast<std::pair<HWND, HWND*>*>(data);
                    if (candidate == found->first || !IsWindowVisible(candidate)) return TRUE;
                    *found->second = candidate;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&search));
            asked = prompt != nullptr;
            if (prompt) PostMessageW(prompt, WM_COMMAND, IDNO, 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            Cancel(window);
        });
        EXPECT_EQ(save.Execute(), TFileDialogResult::Cancelled);
    }
    EXPECT_TRUE(asked);
    DeleteFileW(Win32::Widen(existing).c_str());
}
