// Tests of running a program with administrator rights and waiting for it: what reaches pkexec, the
// exit code that comes back, and a wait that keeps the main loop turning and ends when this process
// is told to terminate.
#include "TestFiles.h"
#include "platform/Application.h"
#include "platform/Spawn.h"
#include "shared/SysUtils.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

using Corvane::Shared::TSysUtils;
namespace fs = std::filesystem;

namespace {

using namespace TestFiles;

// A folder with a stand-in pkexec that records its arguments, put first on PATH.
class ElevatedRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("crv-elevated-" + std::to_string(getpid()));
        fs::create_directories(dir / "bin");
        oldPath = std::getenv("PATH");
        setenv("PATH", ((dir / "bin").string() + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath.c_str(), 1);
        fs::remove_all(dir);
    }
    void StandInPkexec() {
        WriteScript(dir / "bin" / "pkexec",
                    "printf '[%s]' \"$@\" > \"" + (dir / "args").string() + "\"\nexec \"$@\"");
    }

    fs::path dir;
    std::string oldPath;
};

TEST_F(ElevatedRunTest, RunsTheFileThroughPkexecWithItsParametersAndReturnsItsExitCode) {
    StandInPkexec();
    WriteScript(dir / "tool", "exit 42");
    EXPECT_EQ(TSysUtils::ShellExecAsAdminAndWait(nullptr, (dir / "tool").string(),
                                                 "/silent \"two words\" /install"),
              42u);
    EXPECT_EQ(ReadAll(dir / "args"),
              std::string("[") + (dir / "tool").string() + "][/silent][two words][/install]");
}

TEST_F(ElevatedRunTest, GivesZeroWhenNothingStarts) {
    setenv("PATH", (dir / "bin").string().c_str(), 1); // no pkexec anywhere
    WriteScript(dir / "tool", "exit 42");
    EXPECT_EQ(TSysUtils::ShellExecAsAdminAndWait(nullptr, (dir / "tool").string(), ""), 0u);
}

TEST_F(ElevatedRunTest, WaitKeepsTheMainLoopTurningWithoutBusyPolling) {
    bool ran = false;
    Platform::QueueOnUiThread([&ran] { ran = true; });
    int code = -1;
    const std::clock_t cpuBefore = std::clock();
    ASSERT_EQ(Platform::RunProcessAndWait({"sh", "-c", "sleep 0.5; kill -USR1 $$"}, code),
              Platform::TChildResult::Exited);
    const double cpuSeconds = static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_TRUE(ran) << "work queued for the user-interface thread ran during the wait";
    EXPECT_EQ(code, 128 + SIGUSR1) << "a program ended by a signal";
    EXPECT_LT(cpuSeconds, 0.2) << "the wait sleeps until something happens";
}

TEST_F(ElevatedRunTest, ATerminationRequestEndsTheWaitAndLeavesTheProgramRunning) {
    const fs::path pidFile = dir / "child.pid";
    // Once the program runs: the request comes while the wait is under way.
    Platform::QueueOnUiThread([pidFile] {
        for (int i = 0; i < 500 && ReadAll(pidFile).empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::raise(SIGTERM);
    });
    int code = -1;
    EXPECT_EQ(Platform::RunProcessAndWait(
                  {"sh", "-c", "echo $$ > \"" + pidFile.string() + "\"; exec sleep 30"}, code),
              Platform::TChildResult::Interrupted);
    EXPECT_EQ(code, -1);
    EXPECT_TRUE(Platform::TerminationRequested());
    const std::string pid = ReadAll(pidFile);
    ASSERT_FALSE(pid.empty());
    EXPECT_EQ(kill(std::stoi(pid), 0), 0) << "the program still runs";
    kill(std::stoi(pid), SIGKILL);
}

} // namespace
