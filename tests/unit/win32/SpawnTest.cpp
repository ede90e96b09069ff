// Tests of starting programs on Windows: arguments arrive as given, exit codes come back, and a
// wait with the message loop turning serves messages and ends on a request to quit.
#include "platform/Spawn.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include "SelfChild.h"
#include "Win32TestFiles.h"

namespace {

// In the child: the task is "<mode> <file>"; writes its arguments to file, one a line, or sleeps
// a little, and ends with exit code 3.
TEST(SpawnChild, Run) {
    const std::string task = SelfChild::Task();
    if (task.empty()) GTEST_SKIP() << "only run as a child";
    const std::string mode = task.substr(0, task.find(' '));
    const std::string file = task.substr(task.find(' ') + 1);
    if (mode == "sleep") Sleep(700);
    std::string lines;
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 2; i < count; ++i) // after the program and the test filter
        lines += Platform::Win32::Narrow(argv[i]) + "\n";
    LocalFree(argv);
    Win32TestFiles::WriteAll(file, lines);
    Platform::ExitProcess(3);
}

const std::vector<std::string> kTrickyArguments = {
    "plain", "", "two words", "say \"hi\"", "C:\\Program Files\\", "a\\\\\"b", "caf\xC3\xA9 \xE2\x98\x83",
};

std::string Lines(const std::vector<std::string>& args) {
    std::string lines;
    for (const auto& arg : args)
        lines += arg + "\n";
    return lines;
}

TEST(Spawn, HiddenRunPassesArgumentsAndExitCode) {
    Win32TestFiles::TTempDir dir;
    SelfChild::TTask task("args " + (dir / "args.txt"));
    EXPECT_EQ(Platform::RunHiddenAndWait(SelfChild::Command("SpawnChild.Run", kTrickyArguments)), 3);
    EXPECT_EQ(Win32TestFiles::ReadAll(dir / "args.txt"), Lines(kTrickyArguments));
}

TEST(Spawn, ProgramLookedUpOnThePath) {
    EXPECT_EQ(Platform::RunHiddenAndWait({"cmd.exe", "/C", "exit 7"}), 7);
    EXPECT_EQ(Platform::RunHiddenAndWait({"cmd", "/C", "exit 0"}), 0);
}

TEST(Spawn, MissingProgramStartsNothing) {
    EXPECT_EQ(Platform::RunHiddenAndWait({"crv-no-such-program.exe"}), std::nullopt);
    EXPECT_EQ(Platform::LastErrorCode(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Platform::RunHiddenAndWait({}), std::nullopt);
    EXPECT_FALSE(Platform::StartInNewProcessGroup({"C:\\crv\\missing.exe"}, true));
    int code = 0;
    EXPECT_EQ(Platform::RunProcessAndWait({"crv-no-such-program.exe"}, code),
              Platform::TChildResult::NotStarted);
}

TEST(Spawn, NewProcessGroupWaitsWhenAsked) {
    Win32TestFiles::TTempDir dir;
    SelfChild::TTask task("sleep " + (dir / "args.txt"));
    ASSERT_TRUE(Platform::StartInNewProcessGroup(SelfChild::Command("SpawnChild.Run", {"x y"}), true));
    EXPECT_EQ(Win32TestFiles::ReadAll(dir / "args.txt"), "x y\n");
}

TEST(Spawn, WaitServesMessagesUntilTheProgramEnds) {
    Win32TestFiles::TTempDir dir;
    SelfChild::TTask task("sleep " + (dir / "args.txt"));
    static int ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    int code = 0;
    EXPECT_EQ(Platform::RunProcessAndWait(SelfChild::Command("SpawnChild.Run", {"a"}), code),
              Platform::TChildResult::Exited);
    KillTimer(nullptr, timer);
    EXPECT_EQ(code, 3);
    EXPECT_GE(ticks, 3);
    EXPECT_FALSE(Platform::TerminationRequested());
}

// Last: the request to quit stays with the process.
TEST(Spawn, RequestToQuitEndsTheWaitAndIsKeptForTheMainLoop) {
    Win32TestFiles::TTempDir dir;
    SelfChild::TTask task("sleep " + (dir / "args.txt"));
    PostQuitMessage(42);
    int code = -1;
    EXPECT_EQ(Platform::RunProcessAndWait(SelfChild::Command("SpawnChild.Run"), code),
              Platform::TChildResult::Interrupted);
    EXPECT_EQ(code, -1);
    EXPECT_TRUE(Platform::TerminationRequested());
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 42u);
    Sleep(1000); // the program goes on to its end; let it finish before its folder goes
}

} // namespace
