// The Win32 message loop: work queued from other threads runs in order on the UI thread, and an
// exception leaving it shows in an error box without stopping the loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

#include "OwnWindow.h"
#include "PumpUntil.h"
#include "platform/Application.h"

namespace {

using namespace Platform;

TEST(Win32Application, QueuedWorkRunsInOrderOnTheUiThread) {
    ASSERT_TRUE(EnsureUiInitialized());
    const DWORD uiThread = GetCurrentThreadId();
    std::vector<int> order;
    bool allOnUiThread = true;
    auto record = [&](int n) {
        return [&, n] {
            order.push_back(n);
            allOnUiThread = allOnUiThread && GetCurrentThreadId() == uiThread;
        };
    };
    QueueOnUiThread(record(0));
    std::thread worker([&] {
        for (int i = 1; i <= 200; ++i)
            QueueOnUiThread(record(i));
        QueueOnUiThread([] { QuitMainLoop(); });
    });
    RunMainLoop();
    worker.join();
    ASSERT_EQ(order.size(), 201u);
    for (int i = 0; i <= 200; ++i)
        EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
    EXPECT_TRUE(allOnUiThread);
}

TEST(Win32Application, AnExceptionFromQueuedWorkShowsAnErrorBoxTitledWithTheApplication) {
    SetApplicationTitle("Crv Queue Test");
    std::wstring shownText;
    // Answers the error box from outside, as a user would.
    std::thread user([&] {
        for (int i = 0; i < 400; ++i) {
            if (HWND box = FindOwnWindow(nullptr, L"Crv Queue Test")) {
                wchar_t text[128] = L"";
                EnumChildWindows(
                    box,
                    [](HWND child, LPARAM data) -> BOOL {
                        wchar_t found[128];
                        GetWindowTextW(child, found, 128);
                        if (wcsstr(found, L"boom")) lstrcpyW(reinterpret_cast<wchar_t*>(data), found);
                        return TRUE;
                    },
                    reinterpret_cast<LPARAM>(text));
                shownText = text;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(10);
        }
    });
    bool ranAfter = false;
    QueueOnUiThread([] { throw std::runtime_error("boom"); });
    QueueOnUiThread([&] { ranAfter = true; });
    EXPECT_TRUE(PumpUntil([&] { return ranAfter; }, 5000));
    user.join();
    EXPECT_EQ(shownText, L"boom");
}

TEST(Win32Application, QuitEndsOnlyTheLoopThatRuns) {
    int rounds = 0;
    QueueOnUiThread([&] {
        ++rounds;
        QuitMainLoop();
    });
    RunMainLoop();
    QueueOnUiThread([&] {
        ++rounds;
        QuitMainLoop();
    });
    RunMainLoop();
    EXPECT_EQ(rounds, 2);
    // Outside any loop a quit is not kept for the next one.
    QuitMainLoop();
    bool ran = false;
    QueueOnUiThread([&] {
        ran = true;
        QuitMainLoop();
    });
    RunMainLoop();
    EXPECT_TRUE(ran);
}

} // namespace
