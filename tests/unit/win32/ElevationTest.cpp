// Tests of running a program with administrator rights and waiting for it. Wine grants the rights
// without a prompt; on Windows the consent prompt appears.
#include "platform/Elevation.h"
#include "platform/Process.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(Elevation, WaitsAndGivesTheExitCode) {
    static int ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    int code = -1;
    // ping waits about a second between its two echoes.
    EXPECT_EQ(Platform::RunElevatedAndWait("cmd.exe", {"/C", "ping -n 2 127.0.0.1 >NUL & exit 5"}, code),
              Platform::TChildResult::Exited);
    KillTimer(nullptr, timer);
    EXPECT_EQ(code, 5);
    EXPECT_GE(ticks, 3);
}

TEST(Elevation, MissingProgramStartsNothing) {
    int code = -1;
    EXPECT_EQ(Platform::RunElevatedAndWait("C:\\crv\\no\\such\\installer.exe", {"/silent"}, code),
              Platform::TChildResult::NotStarted);
    EXPECT_EQ(code, -1);
    EXPECT_NE(Platform::LastErrorCode(), 0);
}

} // namespace
