// Tests of the running process on Windows: its path, its environment as children see it, and the
// error texts.
#include "platform/Process.h"
#include "platform/CommandOutput.h"
#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

std::string ChildOutput(const std::string& command) {
    std::string text;
    Platform::RunCommandCapture(command, "", false, [&](std::string_view piece) { text += piece; });
    return text;
}

TEST(Process, ExecutablePathAndFolder) {
    const std::string path = Platform::GetExecutablePath();
    ASSERT_GT(path.size(), 16u);
    EXPECT_EQ(path.substr(path.size() - 15), "ProcessTest.exe");
    const std::string folder = Platform::GetExecutableFolder();
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(path.substr(0, folder.size()), folder);
    EXPECT_EQ(path.find('\\', folder.size()), std::string::npos);
}

TEST(Process, EnvironmentReachesChildren) {
    Platform::SetEnvironmentValue("CRV_TEST_VALUE", "with spaces\\and=signs");
    EXPECT_EQ(ChildOutput("echo %CRV_TEST_VALUE%"), "with spaces\\and=signs\r\n");
    Platform::RemoveEnvironmentValue("CRV_TEST_VALUE");
    EXPECT_EQ(GetEnvironmentVariableW(L"CRV_TEST_VALUE", nullptr, 0), 0u);
    EXPECT_EQ(ChildOutput("echo %CRV_TEST_VALUE%"), "%CRV_TEST_VALUE%\r\n");
}

TEST(Process, ErrorTexts) {
    Platform::SetLastError(ERROR_ACCESS_DENIED, "refused by the helper");
    EXPECT_EQ(Platform::LastErrorCode(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Platform::SysErrorMessage(ERROR_ACCESS_DENIED), "refused by the helper");
    EXPECT_EQ(Platform::LastErrorCode(), ERROR_ACCESS_DENIED);

    // Once another error came, the code gets the system's own text, without a line break.
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    const std::string system = Platform::SysErrorMessage(ERROR_ACCESS_DENIED);
    EXPECT_NE(system, "refused by the helper");
    EXPECT_FALSE(system.empty());
    EXPECT_EQ(system.find_first_of("\r\n"), std::string::npos) << system;
    EXPECT_EQ(Platform::LastErrorCode(), ERROR_FILE_NOT_FOUND);

    EXPECT_FALSE(Platform::SysErrorMessage(0x7FFFFFF0).empty());
}

TEST(DynamicLibrary, LoadsFindsAndReportsFailures) {
    Platform::TDynamicLibrary library;
    ASSERT_TRUE(library.Load("kernel32.dll")) << library.Error();
    EXPECT_NE(library.Symbol("GetTickCount"), nullptr);
    EXPECT_EQ(library.Symbol("crvNoSuchExport"), nullptr);
    library.Unload();
    EXPECT_FALSE(library.Loaded());
    EXPECT_EQ(library.Symbol("GetTickCount"), nullptr);

    EXPECT_FALSE(library.Load("C:\\crv\\no\\such\\library.dll"));
    EXPECT_FALSE(library.Error().empty());
    EXPECT_NE(library.Error().find("library.dll"), std::string::npos) << library.Error();
}

} // namespace
