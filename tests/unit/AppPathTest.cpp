// Page paths under the executable's folder, the text file format, and replacing a file's content.
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "bridge/AppPath.h"
#include "platform/Files.h"

using Corvane::Bridge::ResolveAppPath;
using Corvane::Bridge::TextFileBytes;

TEST(AppPath, RelativePathsGoUnderTheApplicationFolder) {
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"index.html", "/opt/app/index.html"},
        {"data/list.txt", "/opt/app/data/list.txt"},
        {"data\\list.txt", "/opt/app/data/list.txt"},
        {"\\x", "/opt/app//x"},
        {"/etc/hosts", "/etc/hosts"},
        {"C:/Users/me", "C:/Users/me"},
        {"\\\\server\\share", "\\\\server\\share"},
        {"x", "/opt/app/x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveAppPath(c.path, "/opt/app/"), c.expected) << c.path;
}

TEST(AppPath, TextFilesAreUtf8WithMarkAndCrLfAfterEveryLine) {
    const struct {
        const char* contents;
        const char* expected;
    } cases[] = {
        {"", "\xEF\xBB\xBF"},
        {"a\nb", "\xEF\xBB\xBF"
                 "a\r\nb\r\n"},
        {"a\r\nb\rc", "\xEF\xBB\xBF"
                      "a\r\nb\r\nc\r\n"},
        {"a\n", "\xEF\xBB\xBF"
                "a\r\n"},
        {"\n\n", "\xEF\xBB\xBF"
                 "\r\n\r\n"},
        {"\r\r\n", "\xEF\xBB\xBF"
                   "\r\n\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextFileBytes(c.contents), c.expected) << c.contents;
}

class WriteFileReplacing : public testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("crv-replace-" + std::to_string(getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    static std::string Read(const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    std::filesystem::path dir;
};

TEST_F(WriteFileReplacing, ReplacesKeepingPermissionsAndLeavesNoTemporaryFile) {
    const auto path = dir / "data.txt";
    std::ofstream(path) << "old content that is longer";
    chmod(path.c_str(), 0640);
    int error = -1;
    ASSERT_TRUE(Platform::WriteFileReplacing(path, "new", error));
    EXPECT_EQ(error, 0);
    EXPECT_EQ(Read(path), "new");
    struct stat info {};
    stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(WriteFileReplacing, WritesThroughALinkAndKeepsTheLink) {
    const auto target = dir / "target.txt";
    const auto link = dir / "link.txt";
    std::ofstream(target) << "old";
    std::filesystem::create_symlink(target, link);
    int error = 0;
    ASSERT_TRUE(Platform::WriteFileReplacing(link, "new", error));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Read(target), "new");
}

TEST_F(WriteFileReplacing, FailuresReportTheSystemsCode) {
    int error = 0;
    EXPECT_FALSE(Platform::WriteFileReplacing(dir / "missing" / "x.txt", "x", error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(Platform::WriteFileReplacing(dir, "x", error));
    EXPECT_EQ(error, EISDIR);
}

TEST_F(WriteFileReplacing, AFileWithNoRoomForANewFileBesideItIsRewrittenInPlace) {
    // A name so long that no longer name fits beside it.
    const auto path = dir / std::string(250, 'n');
    std::ofstream(path) << "old";
    int error = 0;
    EXPECT_TRUE(Platform::WriteFileReplacing(path, "new", error));
    EXPECT_EQ(Read(path), "new");
}
