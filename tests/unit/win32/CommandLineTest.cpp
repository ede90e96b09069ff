// Tests of argument quoting: what CommandLineToArgvW, which splits as the C run-time does, gives
// back from the joined command line.
#include "platform/win32/CommandLine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "platform/win32/Wide.h"

namespace {

std::vector<std::string> SplitBack(const std::wstring& commandLine) {
    int count = 0;
    // The first word is read by the program-name rule, so a plain one goes in front.
    wchar_t** argv = CommandLineToArgvW((L"program.exe " + commandLine).c_str(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(Platform::Win32::Narrow(argv[i]));
    LocalFree(argv);
    return args;
}

TEST(CommandLine, TrickyArgumentsComeBackUnchanged) {
    const std::vector<std::string> cases = {
        "plain",
        "",
        "with space",
        "tab\there",
        "say \"hi\"",
        "\"",
        "C:\\Program Files\\",      // backslashes before the closing quote
        "C:\\Temp\\a.txt",          // backslashes not before a quote stay single
        "a\\\"b",                   // backslash, then quote
        "a\\\\\"b c",               // two backslashes, then quote
        "trailing\\\\",             // backslashes at the end without a space
        "\\\\server\\share\\x y\\", // UNC with a space and a trailing backslash
        "caf\xC3\xA9 \xE2\x98\x83", // beyond ASCII
        "%PATH% ^& | < >",          // characters only a command interpreter treats specially
    };
    for (const auto& argument : cases) {
        EXPECT_EQ(SplitBack(Platform::Win32::JoinArguments({argument})), std::vector<std::string>{argument})
            << argument;
    }
    EXPECT_EQ(SplitBack(Platform::Win32::JoinArguments(cases)), cases);
}

TEST(CommandLine, SimpleArgumentsAreNotQuoted) {
    EXPECT_EQ(Platform::Win32::JoinArguments({"/silent", "/install", "C:\\a\\b.exe"}),
              L"/silent /install C:\\a\\b.exe");
    EXPECT_EQ(Platform::Win32::QuoteArgument(L""), L"\"\"");
}

} // namespace
