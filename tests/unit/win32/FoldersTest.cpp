// Tests of the user's folders and the machine facts on Windows.
#include "platform/Folders.h"
#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/Wide.h"

namespace {

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Platform::Win32::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Folders, ExistAndEndWithOneBackslash) {
    const std::string folders[] = {Platform::GetLocalAppDataDir(), Platform::GetRoamingAppDataDir(),
                                   Platform::GetDocumentsDir(),    Platform::GetDesktopDir(),
                                   Platform::GetTempDir(),         Platform::ProgramsDir()};
    for (const auto& folder : folders) {
        ASSERT_GT(folder.size(), 3u) << folder;
        EXPECT_EQ(folder.back(), '\\') << folder;
        EXPECT_NE(folder[folder.size() - 2], '\\') << folder;
        EXPECT_TRUE(IsFolder(folder)) << folder;
    }
    EXPECT_NE(Platform::GetLocalAppDataDir(), Platform::GetRoamingAppDataDir());
    EXPECT_EQ(Platform::PathDelim, '\\');
}

TEST(Folders, TempFolderHasNoShortNames) {
    // A TMP given in 8.3 form comes back in its long form.
    wchar_t longTemp[MAX_PATH] = {}, shortTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, longTemp);
    const std::wstring folder = std::wstring(longTemp) + L"crv long folder name";
    CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD shortLength = GetShortPathNameW(folder.c_str(), shortTemp, MAX_PATH);
    if (shortLength == 0 || std::wstring(shortTemp) == folder) {
        RemoveDirectoryW(folder.c_str());
        GTEST_SKIP() << "the file system gives no short names";
    }
    SetEnvironmentVariableW(L"TMP", shortTemp);
    const std::string temp = Platform::GetTempDir();
    SetEnvironmentVariableW(L"TMP", longTemp);
    RemoveDirectoryW(folder.c_str());
    EXPECT_EQ(temp, Platform::Win32::Narrow(folder) + "\\");
}

TEST(SystemInfo, NamesAndProgramFolders) {
    EXPECT_FALSE(Platform::ComputerName().empty());
    wchar_t user[256] = {};
    DWORD size = 256;
    GetUserNameW(user, &size);
    EXPECT_EQ(Platform::UserName(), Platform::Win32::Narrow(user));
    const std::string systemApps = Platform::SystemAppsDir();
    EXPECT_TRUE(systemApps.size() > 14 && systemApps.substr(systemApps.size() - 12) == "\\SystemApps\\")
        << systemApps;
}

} // namespace
