// Tests of the Windows file operations: replacing a file whole or not at all, moving without
// replacing, and which paths the file system accepts.
#include "platform/Files.h"
#include "platform/FileNames.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "Win32TestFiles.h"
#include "platform/win32/Wide.h"

namespace {

using Platform::Win32::Widen;
using Win32TestFiles::ReadAll;
using Win32TestFiles::TTempDir;
using Win32TestFiles::WriteAll;

// The files in folder other than the named ones: what a write left behind.
std::vector<std::wstring> OtherFiles(const std::filesystem::path& folder, std::vector<std::wstring> names) {
    std::vector<std::wstring> others;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::wstring name = entry.path().filename().wstring();
        // Wine's own replacement leaves a backup of that form after a refusal; Windows does not.
        const bool wineBackup = name.size() > 4 && name.compare(name.size() - 4, 4, L".tmp") == 0;
        if (std::find(names.begin(), names.end(), name) == names.end() && !wineBackup) others.push_back(name);
    }
    return others;
}

TEST(WriteFileReplacing, CreatesAndReplacesWithNothingLeftBeside) {
    TTempDir dir;
    const std::string path = dir / "n\xC3\xA4me.txt";
    int error = -1;
    ASSERT_TRUE(Platform::WriteFileReplacing(path, std::string("first\0bytes", 11), error));
    EXPECT_EQ(error, 0);
    EXPECT_EQ(ReadAll(path), std::string("first\0bytes", 11));

    ASSERT_TRUE(Platform::WriteFileReplacing(path, "second", error));
    EXPECT_EQ(ReadAll(path), "second");
    ASSERT_TRUE(Platform::WriteFileReplacing(path, "", error));
    EXPECT_EQ(ReadAll(path), "");
    EXPECT_TRUE(OtherFiles(dir.Path, {L"n\u00E4me.txt"}).empty());
}

TEST(WriteFileReplacing, KeepsAttributesOfTheReplacedFile) {
    TTempDir dir;
    const std::string path = dir / "hidden.txt";
    WriteAll(path, "old");
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
    int error = -1;
    ASSERT_TRUE(Platform::WriteFileReplacing(path, "new", error));
    EXPECT_EQ(ReadAll(path), "new");
    EXPECT_TRUE(GetFileAttributesW(Widen(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(WriteFileReplacing, FailureKeepsTheOldContentWhole) {
    TTempDir dir;
    const std::string readOnly = dir / "read-only.txt";
    WriteAll(readOnly, "old content");
    SetFileAttributesW(Widen(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
    int error = 0;
    EXPECT_FALSE(Platform::WriteFileReplacing(readOnly, "new", error));
    EXPECT_EQ(error, ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadAll(readOnly), "old content");
    SetFileAttributesW(Widen(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);

    // Held open by a reader that lets nobody delete or rename it.
    const std::string locked = dir / "locked.txt";
    WriteAll(locked, "old content");
    HANDLE holder =
        CreateFileW(Widen(locked).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Platform::WriteFileReplacing(locked, "new", error));
    EXPECT_NE(error, 0);
    CloseHandle(holder);
    EXPECT_EQ(ReadAll(locked), "old content");

    // No half-written new file stays behind.
    EXPECT_TRUE(OtherFiles(dir.Path, {L"read-only.txt", L"locked.txt"}).empty());
}

TEST(WriteFileReplacing, FolderOrMissingFolderFails) {
    TTempDir dir;
    int error = 0;
    EXPECT_FALSE(Platform::WriteFileReplacing(dir.Utf8(), "x", error));
    EXPECT_NE(error, 0);
    EXPECT_FALSE(Platform::WriteFileReplacing(dir / "missing\\file.txt", "x", error));
    EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
}

TEST(MoveFileNoReplace, MovesOnlyWhereNothingIs) {
    TTempDir dir;
    const std::string from = dir / "from.txt", to = dir / "to.txt";
    WriteAll(from, "moving");
    WriteAll(to, "staying");
    int error = 0;
    EXPECT_FALSE(Platform::MoveFileNoReplace(from, to, error));
    EXPECT_TRUE(error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) << error;
    EXPECT_EQ(ReadAll(to), "staying");
    EXPECT_EQ(ReadAll(from), "moving");

    std::filesystem::remove(to);
    EXPECT_TRUE(Platform::MoveFileNoReplace(from, to, error));
    EXPECT_EQ(error, 0);
    EXPECT_EQ(ReadAll(to), "moving");
    EXPECT_FALSE(std::filesystem::exists(from));

    EXPECT_FALSE(Platform::MoveFileNoReplace(from, dir / "other.txt", error));
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
}

TEST(IsAcceptedPath, Table) {
    const struct {
        std::string path;
        bool accepted;
    } cases[] = {
        {"C:\\Users\\me\\file.txt", true},
        {"relative/mixed\\separators.txt", true},
        {"\\\\server\\share\\file", true},
        {"caf\xC3\xA9.txt", true},
        {"", false},
        {"C:\\a:b", false},
        {"what?.txt", false},
        {"star*.txt", false},
        {"pipe|name", false},
        {"<angle>", false},
        {"quote\".txt", false},
        {"tab\tname", false},
        {"C:\\" + std::string(255, 'a'), true},
        {"C:\\" + std::string(256, 'a'), false},
        {"C:\\" + std::string(120, 'a') + "\\" + std::string(140, 'b'), false}, // the whole too long
        {"\\\\?\\C:\\" + std::string(200, 'a') + "\\" + std::string(200, 'b'), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Platform::IsAcceptedPath(c.path), c.accepted) << c.path;
}

} // namespace
