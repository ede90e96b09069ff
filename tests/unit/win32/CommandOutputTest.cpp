// Tests of command output on Windows: both streams on one pipe in order, long output, a text in
// the ANSI code page, and commands that cannot start.
#include "platform/CommandOutput.h"
#include "platform/Locale.h"
#include "platform/Process.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "Win32TestFiles.h"

namespace {

struct TCaptured {
    bool Started = false;
    std::string Text; // decoded from the ANSI code page
    int Pieces = 0;
};

TCaptured Capture(const std::string& command, const std::string& workingDir = "") {
    TCaptured result;
    Platform::TLocaleTextDecoder decoder;
    result.Started = Platform::RunCommandCapture(command, workingDir, false, [&](std::string_view piece) {
        ++result.Pieces;
        result.Text += decoder.Decode(piece);
    });
    result.Text += decoder.Finish();
    return result;
}

TEST(CommandOutput, BothStreamsInTheOrderWritten) {
    const auto result = Capture("echo one& echo two>&2& echo three& echo four 1>&2");
    ASSERT_TRUE(result.Started);
    EXPECT_EQ(result.Text, "one\r\ntwo\r\nthree\r\nfour \r\n");
}

TEST(CommandOutput, NothingWrittenGivesNothing) {
    const auto result = Capture("rem");
    EXPECT_TRUE(result.Started);
    EXPECT_EQ(result.Text, "");
    EXPECT_EQ(result.Pieces, 0);
}

TEST(CommandOutput, LongOutputArrivesWhole) {
    const auto result = Capture("for /L %i in (1,1,600) do @echo line %i");
    ASSERT_TRUE(result.Started);
    std::string expected;
    for (int i = 1; i <= 600; ++i)
        expected += "line " + std::to_string(i) + "\r\n";
    EXPECT_EQ(result.Text, expected);
    EXPECT_GT(result.Pieces, 1);
}

TEST(CommandOutput, WorkingFolderAndAnsiText) {
    Win32TestFiles::TTempDir dir;
    // A file in the ANSI code page: the character whose code is 0xE9 there.
    Win32TestFiles::WriteAll(dir / "ansi.txt", "caf\xE9\r\n");
    const auto result = Capture("type ansi.txt", dir.Utf8());
    ASSERT_TRUE(result.Started);
    EXPECT_EQ(result.Text, Platform::AnsiToUtf8("caf\xE9\r\n"));
    if (GetACP() == 1252) {
        EXPECT_EQ(result.Text, "caf\xC3\xA9\r\n");
    }
}

TEST(CommandOutput, UnknownCommandReportsThroughTheInterpreter) {
    const auto result = Capture("crv-no-such-command-here");
    EXPECT_TRUE(result.Started);
    EXPECT_NE(result.Text, "");
}

TEST(CommandOutput, MissingWorkingFolderStartsNothing) {
    bool called = false;
    EXPECT_FALSE(Platform::RunCommandCapture("echo x", "C:\\crv\\no\\such\\folder", false,
                                             [&](std::string_view) { called = true; }));
    EXPECT_FALSE(called);
    EXPECT_TRUE(Platform::LastErrorCode() == ERROR_DIRECTORY ||
                Platform::LastErrorCode() == ERROR_PATH_NOT_FOUND ||
                Platform::LastErrorCode() == ERROR_FILE_NOT_FOUND)
        << Platform::LastErrorCode();
}

} // namespace
