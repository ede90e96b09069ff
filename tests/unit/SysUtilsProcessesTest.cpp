// Tests of the system utilities that start programs: run-and-wait exit codes, process groups,
// opening, and the picture editor found among the desktop's registered applications.
#include "TestFiles.h"
#include "shared/SysUtils.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using Corvane::Shared::TSysUtils;
namespace fs = std::filesystem;

namespace {

using namespace TestFiles;

bool WaitFor(const fs::path& path) {
    for (int i = 0; i < 500 && !fs::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return fs::exists(path);
}

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = fs::temp_directory_path() / ("crv-sysutils-proc-" + std::to_string(std::random_device{}()));
        fs::create_directories(FDir);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(FDir, ignored);
    }
    std::string In(const std::string& name) const { return (FDir / name).string(); }
    fs::path FDir;
};

TEST(ExecAndWait, AnswersTheExitCodeOrZeroWhenNotStarted) {
    const std::vector<std::pair<std::string, std::uint32_t>> cases = {
        {"true", 0},
        {"sh -c \"exit 7\"", 7},
        {"sh -c \"test \\\"$1\\\" = 'a b'\" sh \"a b\"", 0}, // quoting as the command line gives it
        {"sh -c \"kill -TERM $$\"", 128 + 15},
        {"/nonexistent/program", 0},
        {"crv-no-such-program-on-the-path", 0},
        {"", 0},
    };
    for (const auto& [commandLine, code] : cases)
        EXPECT_EQ(TSysUtils::ExecAndWait(commandLine), code) << commandLine;
}

TEST_F(ProcessTest, ExecAndWaitGivesNoTerminalAndNoFiles) {
    // A descriptor this process left inheritable must not reach the child.
    const int fd = open(In("open-file").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    const std::string probe = "sh -c \"test ! -e /proc/self/fd/" + std::to_string(fd) +
                              " && test \\\"$(readlink /proc/$$/fd/0)\\\" = /dev/null" +
                              " && test \\\"$(readlink /proc/$$/fd/1)\\\" = /dev/null\"";
    EXPECT_EQ(TSysUtils::ExecAndWait(probe), 0u);
    close(fd);
}

TEST_F(ProcessTest, ExecCmdStartsAProcessGroupOfItsOwn) {
    // Field 5 of the stat line is the process group; it equals the pid of a group's leader.
    const std::string report =
        "sh -c \"read -r pid name state ppid pgrp rest < /proc/self/stat; echo $pgrp $$ > '" + In("group") +
        "'\"";
    EXPECT_TRUE(TSysUtils::ExecCmd(report, true));
    std::istringstream group(ReadAll(In("group")));
    long pgrp = 0, pid = 0;
    group >> pgrp >> pid;
    EXPECT_GT(pid, 0);
    EXPECT_EQ(pgrp, pid);
    EXPECT_NE(pgrp, static_cast<long>(getpgrp()));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(TSysUtils::ExecCmd("sh -c \"sleep 0.3; touch '" + In("late") + "'\"", false));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250)) << "did not wait";
    EXPECT_TRUE(WaitFor(In("late")));

    EXPECT_FALSE(TSysUtils::ExecCmd("/nonexistent/program", true));
    EXPECT_FALSE(TSysUtils::ExecCmd("", false));
}

TEST_F(ProcessTest, ShellOpenStartsProgramsAndRefusesWhatIsMissing) {
    WriteAll(In("tool.sh"), "#!/bin/sh\ntouch \"$0.ran\"\n");
    chmod(In("tool.sh").c_str(), 0755);
    EXPECT_TRUE(TSysUtils::ShellOpen(In("tool.sh")));
    EXPECT_TRUE(WaitFor(In("tool.sh.ran")));
    EXPECT_FALSE(TSysUtils::ShellOpen(In("missing")));
}

// Registered applications come from a private data folder: a viewer that must be passed over and a
// painting program that records what it was given.
TEST_F(ProcessTest, EditWithMSPaintChoosesAPaintingProgramNotAViewer) {
    const fs::path apps = FDir / "share" / "applications";
    WriteAll(FDir / "paint.sh", "#!/bin/sh\nprintf %s \"$1\" > \"$(dirname \"$0\")/painted\"\n");
    WriteAll(FDir / "view.sh", "#!/bin/sh\nprintf %s \"$1\" > \"$(dirname \"$0\")/viewed\"\n");
    chmod((FDir / "paint.sh").c_str(), 0755);
    chmod((FDir / "view.sh").c_str(), 0755);
    WriteAll(apps / "aaa-viewer.desktop",
             "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" + In("view.sh") +
                 " %f\nMimeType=image/png;\nCategories=Graphics;RasterGraphics;Viewer;\n");
    WriteAll(apps / "zzz-paint.desktop",
             "[Desktop Entry]\nType=Application\nName=Paint\nExec=" + In("paint.sh") +
                 " %f\nMimeType=image/png;\nCategories=Graphics;RasterGraphics;\n");
    // The desktop's index of types to applications, as its tools write it; the viewer comes first.
    WriteAll(apps / "mimeinfo.cache", "[MIME Cache]\nimage/png=aaa-viewer.desktop;zzz-paint.desktop;\n");
    setenv("XDG_DATA_DIRS", (FDir / "share").c_str(), 1);
    setenv("XDG_DATA_HOME", (FDir / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (FDir / "config").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (FDir / "config-dirs").c_str(), 1);

    // A PNG signature is enough to tell the type.
    WriteAll(In("picture"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    EXPECT_TRUE(TSysUtils::EditWithMSPaint(In("picture")));
    EXPECT_TRUE(WaitFor(In("painted")));
    EXPECT_EQ(ReadAll(In("painted")), In("picture"));
    EXPECT_FALSE(fs::exists(In("viewed")));
}

} // namespace
