// Tests of the file and folder functions of the system utilities: copying, listing, sizes, path
// forms, time stamps, byte order marks and shortcut targets.
#include "TestFiles.h"
#include "abi/Utf.h"
#include "platform/Folders.h"
#include "shared/SysUtils.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using Corvane::Shared::TSysUtils;
namespace fs = std::filesystem;

namespace {

using namespace TestFiles;

TEST(FormatByteSize, AtMostTwoDecimalsWithoutTrailingZeros) {
    const std::vector<std::pair<std::int64_t, std::string>> cases = {
        {0, "0 bytes"},
        {1, "1 bytes"},
        {512, "512 bytes"},
        {1023, "1023 bytes"},
        {-5, "-5 bytes"},
        {1024, "1 KB"},
        {1536, "1.5 KB"},
        {1034, "1.01 KB"},    // 1.0098 rounds up
        {1029, "1 KB"},       // 1.0049 rounds down, and the zeros go
        {1152, "1.13 KB"},    // exactly 1.125: half rounds up
        {1048575, "1024 KB"}, // rounding does not move it to the next unit
        {1048576, "1 MB"},
        {1073741823, "1024 MB"},
        {1073741824, "1 GB"},
        {2415919104, "2.25 GB"},
        {1099511627776, "1024 GB"}, // no unit above GB
        {INT64_MAX, "8589934592 GB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(TSysUtils::FormatByteSize(bytes), text) << bytes;
}

TEST(PathForms, ParentDirIsAbsoluteWithTrailingSeparator) {
    const std::string cwd = fs::current_path().string();
    const std::string cwdParent = fs::current_path().parent_path().string();
#ifdef _WIN32
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\a\\b\\c", "C:\\a\\b\\"},
        {"C:/a/b/c/", "C:\\a\\b\\"},
        {"C:\\a\\.\\b\\..\\c\\d", "C:\\a\\c\\"},
        {"C:\\a", "C:\\"},
        {"C:\\", "C:\\"},
        {"x\\y", cwd + "\\x\\"},
        {"", cwdParent.ends_with('\\') ? cwdParent : cwdParent + "\\"},
    };
#else
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/a/b/c", "/a/b/"},
        {"/a/b/c/", "/a/b/"},
        {"/a/./b/../c/d", "/a/c/"},
        {"/a", "/"},
        {"/", "/"},
        {"x/y", cwd + "/x/"},
        {"", cwdParent == "/" ? "/" : cwdParent + "/"},
    };
#endif
    for (const auto& [path, parent] : cases)
        EXPECT_EQ(TSysUtils::GetParentDirPath(path), parent) << '"' << path << '"';
}

TEST(PathForms, ExpandFileNameRelBaseDir) {
    struct TCase {
        std::string FileName, BaseDir, Expected;
    };
#ifdef _WIN32
    const std::vector<TCase> cases = {
        {"b.txt", "C:\\base", "C:\\base\\b.txt"},
        {"b.txt", "C:/base/", "C:\\base\\b.txt"},
        {"..\\b.txt", "C:\\base\\sub", "C:\\base\\b.txt"},
        {".\\x\\..\\y", "rel", "rel\\y"},
        {"..\\..\\..\\x", "C:\\a", "C:\\x"},
        {"D:\\abs\\.\\x\\", "C:\\base", "D:\\abs\\x\\"},
        {"\\abs\\x", "C:\\base", "\\abs\\x"}, // the root of the current drive is not relative
        {"", "C:\\base\\", "C:\\base\\"},
        {"c", "", "c"},
    };
#else
    const std::vector<TCase> cases = {
        {"b.txt", "/base", "/base/b.txt"},
        {"b.txt", "/base/", "/base/b.txt"},
        {"../b.txt", "/base/sub", "/base/b.txt"},
        {"./x/../y", "rel", "rel/y"},
        {"../../../x", "/a", "/x"},        // nothing above the root
        {"/abs/./x/", "/base", "/abs/x/"}, // absolute: the base is ignored, the form kept
        {"", "/base/", "/base/"},
        {"c", "", "c"},
    };
#endif
    for (const auto& c : cases)
        EXPECT_EQ(TSysUtils::ExpandFileNameRelBaseDir(c.FileName, c.BaseDir), c.Expected)
            << '"' << c.FileName << "\" in \"" << c.BaseDir << '"';
}

TEST(PathForms, IsValidFilePath) {
    const std::string longName(256, 'n');
    const std::vector<std::pair<std::string, bool>> cases = {
        {"", false},
        {"a", true},
        {"/tmp/file.txt", true},
        {"dir/sub/", true},
#ifdef _WIN32
        {"what:is<this>|*?", false},
        {"C:\\dir\\file.txt", true},
#else
        {"what:is<this>|*?\\", true}, // only '/' and the zero byte are special here
#endif
        {std::string(255, 'n'), true},
        {longName, false},
        {"/tmp/" + longName + "/x", false},
        {std::string("a\0b", 3), false},
        {std::string(2100, 'a') + "/" + std::string(2100, 'b'), false}, // the whole path too long
    };
    for (const auto& [path, valid] : cases)
        EXPECT_EQ(TSysUtils::IsValidFilePath(path), valid)
            << path.substr(0, 40) << " (" << path.size() << ")";
}

// A private folder:
//   a.txt (3) b.log (5) noext (7) sub1/c.txt (11) sub1/deep/d.txt (13) sub2/
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        FRoot = fs::temp_directory_path() / ("crv-sysutils-" + std::to_string(std::random_device{}()));
        WriteAll(FRoot / "a.txt", "aaa");
        WriteAll(FRoot / "b.log", "bbbbb");
        WriteAll(FRoot / "noext", "nnnnnnn");
        WriteAll(FRoot / "sub1" / "c.txt", std::string(11, 'c'));
        WriteAll(FRoot / "sub1" / "deep" / "d.txt", std::string(13, 'd'));
        fs::create_directories(FRoot / "sub2");
        FOut = FRoot.string() + "-out";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(FRoot, ignored);
        fs::remove_all(FOut, ignored);
    }
    std::string Root() const { return FRoot.string(); }
    // Names are written with '/', paths come back in the system's form.
    std::string In(const std::string& name) const { return (FRoot / name).make_preferred().string(); }
    std::string Out(const std::string& name = "") const {
        return name.empty() ? FOut.string() : (FOut / name).make_preferred().string();
    }

    fs::path FRoot, FOut;
};

TEST_F(FolderTest, DirectoryFilesListFoldersFirstThenMatchingFiles) {
    std::vector<std::string> list = {"left over"};
    TSysUtils::GetDirectoryFiles(Root(), false, list, "*.*");
    EXPECT_EQ(list, (std::vector<std::string>{In("a.txt"), In("b.log"), In("noext")}))
        << "\"*.*\" takes names without a dot too";

    TSysUtils::GetDirectoryFiles(Root() + Platform::PathDelim, true, list, "*.txt");
    EXPECT_EQ(list, (std::vector<std::string>{In("sub1"), In("sub2"), In("a.txt")}))
        << "folders are not filtered by the mask, and no separator is doubled";

    TSysUtils::GetDirectoryFiles(Root(), false, list, "?.*");
    EXPECT_EQ(list, (std::vector<std::string>{In("a.txt"), In("b.log")}));
    TSysUtils::GetDirectoryFiles(Root(), false, list, "*.TXT");
    EXPECT_TRUE(list.empty()) << "names match with their case, as the file system keeps them";
    TSysUtils::GetDirectoryFiles(In("missing"), true, list, "*.*");
    EXPECT_TRUE(list.empty());
}

TEST_F(FolderTest, SizesAndCounts) {
    EXPECT_EQ(TSysUtils::GetSizeOfFile(In("b.log")), 5);
    EXPECT_EQ(TSysUtils::GetSizeOfFile(In("missing")), -1);
    EXPECT_EQ(TSysUtils::GetSizeOfFile(In("sub2")), -1);
    EXPECT_EQ(TSysUtils::GetSizeOfDir(Root(), false), 3 + 5 + 7);
    EXPECT_EQ(TSysUtils::GetSizeOfDir(Root(), true), 3 + 5 + 7 + 11 + 13);
    EXPECT_EQ(TSysUtils::GetSizeOfDir(In("missing"), true), 0);
    EXPECT_EQ(TSysUtils::GetSubdirectoriesCount(Root()), 2);
    EXPECT_EQ(TSysUtils::GetSubdirectoriesCount(In("sub1/deep")), 0);
    EXPECT_EQ(TSysUtils::GetSubdirectoriesCount(In("missing")), 0);

#ifndef _WIN32 // links need a privilege on Windows, and Wine makes none
    // A link back up the tree is not followed.
    fs::create_directory_symlink(FRoot, FRoot / "sub1" / "loop");
    EXPECT_EQ(TSysUtils::GetSizeOfDir(Root(), true), 3 + 5 + 7 + 11 + 13);
#endif
}

TEST_F(FolderTest, CopyFileCreatesFoldersReplacesAndCopiesIntoFolders) {
    EXPECT_TRUE(TSysUtils::CopyFile(In("a.txt"), Out("new/deeper/a-copy.txt")));
    EXPECT_EQ(ReadAll(Out("new/deeper/a-copy.txt")), "aaa");

    EXPECT_TRUE(TSysUtils::CopyFile(In("b.log"), Out("new/deeper/a-copy.txt")));
    EXPECT_EQ(ReadAll(Out("new/deeper/a-copy.txt")), "bbbbb") << "an existing file is replaced";

    EXPECT_TRUE(TSysUtils::CopyFile(In("noext"), Out("new")));
    EXPECT_EQ(ReadAll(Out("new/noext")), "nnnnnnn") << "a folder as target takes the file in";

    EXPECT_FALSE(TSysUtils::CopyFile(In("missing"), Out("x")));
    EXPECT_FALSE(TSysUtils::CopyFile(In("a.txt"), In("a.txt")));
    EXPECT_EQ(ReadAll(In("a.txt")), "aaa");
}

TEST_F(FolderTest, CopyDirectoryCopiesTheTreeMasksCopyFilesOnly) {
    EXPECT_TRUE(TSysUtils::CopyDirectory(In("sub1"), Out()));
    EXPECT_EQ(ReadAll(Out("c.txt")), std::string(11, 'c')) << "a new target becomes the copy";
    EXPECT_EQ(ReadAll(Out("deep/d.txt")), std::string(13, 'd'));

    EXPECT_TRUE(TSysUtils::CopyDirectory(In("sub1") + "/", Out()));
    EXPECT_EQ(ReadAll(Out("sub1/deep/d.txt")), std::string(13, 'd'))
        << "an existing target takes the folder in";

    EXPECT_TRUE(TSysUtils::CopyDirectory(In("*.txt"), Out("masked")));
    std::vector<std::string> copied;
    TSysUtils::GetDirectoryFiles(Out("masked"), true, copied, "*.*");
    EXPECT_EQ(copied, (std::vector<std::string>{Out("masked/a.txt")})) << "no folders, no other names";
    EXPECT_FALSE(TSysUtils::CopyDirectory(In("*.none"), Out("nothing")));

    EXPECT_FALSE(TSysUtils::CopyDirectory(Root(), In("sub2"))) << "a folder cannot be copied into itself";
    EXPECT_FALSE(fs::exists(FRoot / "sub2" / FRoot.filename()));
    EXPECT_FALSE(TSysUtils::CopyDirectory(In("missing"), Out("x")));
}

TEST_F(FolderTest, FilesHaveSameDateTime) {
    const auto stamp = fs::last_write_time(In("a.txt")) - std::chrono::hours(3);
    fs::last_write_time(In("a.txt"), stamp);
    fs::last_write_time(In("b.log"), stamp);
    EXPECT_TRUE(TSysUtils::FilesHaveSameDateTime(In("a.txt"), In("b.log")));
#ifdef _WIN32
    const auto step = std::chrono::seconds(1); // the library sets Windows stamps in whole seconds
#else
    const auto step = std::chrono::microseconds(1);
#endif
    fs::last_write_time(In("b.log"), stamp + step);
    EXPECT_FALSE(TSysUtils::FilesHaveSameDateTime(In("a.txt"), In("b.log")));
    EXPECT_FALSE(TSysUtils::FilesHaveSameDateTime(In("a.txt"), In("missing")));
    EXPECT_FALSE(TSysUtils::FilesHaveSameDateTime(In("missing"), In("missing")));
}

TEST_F(FolderTest, RemoveUTFBoomFromFileRewritesOnlyMarkedFilesKeepingTheirMode) {
    WriteAll(In("bom.txt"), "\xEF\xBB\xBFhello\xEF\xBB\xBF");
#ifndef _WIN32 // no permission bits
    chmod(In("bom.txt").c_str(), 0640);
#endif
    EXPECT_TRUE(TSysUtils::RemoveUTFBoomFromFile(In("bom.txt")));
    EXPECT_EQ(ReadAll(In("bom.txt")), "hello\xEF\xBB\xBF") << "only the leading mark goes";
#ifndef _WIN32
    struct stat st {};
    ASSERT_EQ(stat(In("bom.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
#endif
    EXPECT_TRUE(TSysUtils::RemoveUTFBoomFromFile(In("bom.txt")));
    EXPECT_EQ(ReadAll(In("bom.txt")), "hello\xEF\xBB\xBF");

    WriteAll(In("only.txt"), "\xEF\xBB\xBF");
    EXPECT_TRUE(TSysUtils::RemoveUTFBoomFromFile(In("only.txt")));
    EXPECT_EQ(fs::file_size(In("only.txt")), 0u);

    WriteAll(In("short.txt"), "\xEF\xBB");
    EXPECT_TRUE(TSysUtils::RemoveUTFBoomFromFile(In("short.txt")));
    EXPECT_EQ(ReadAll(In("short.txt")), "\xEF\xBB");

    EXPECT_FALSE(TSysUtils::RemoveUTFBoomFromFile(In("missing")));
    EXPECT_FALSE(TSysUtils::RemoveUTFBoomFromFile(In("sub2")));
    std::vector<std::string> left;
    TSysUtils::GetDirectoryFiles(Root(), false, left, "*.crv-*");
    EXPECT_TRUE(left.empty()) << "no temporary file stays behind";
}

// Paths are UTF-8 throughout; Windows would read them in its narrow code page if let.
TEST_F(FolderTest, NamesOutsideAsciiWorkInEveryFunction) {
    const std::string folder = Root() + Platform::PathDelim + "Grüße Ωμέγα";
    const std::string file = folder + Platform::PathDelim + "名前 ✓.txt";
    ASSERT_TRUE(TSysUtils::CopyFile(In("b.log"), file));
    EXPECT_EQ(ReadAll(Corvane::Abi::Utf8Path(file)), "bbbbb");
    EXPECT_EQ(TSysUtils::GetSizeOfFile(file), 5);
    EXPECT_EQ(TSysUtils::GetSizeOfDir(folder, false), 5);
    std::vector<std::string> list;
    TSysUtils::GetDirectoryFiles(folder, false, list, "*.txt");
    EXPECT_EQ(list, std::vector<std::string>{file});
    EXPECT_EQ(TSysUtils::GetParentDirPath(file), folder + Platform::PathDelim);

    WriteAll(Corvane::Abi::Utf8Path(file), "\xEF\xBB\xBFmarked");
    EXPECT_TRUE(TSysUtils::RemoveUTFBoomFromFile(file));
    EXPECT_EQ(ReadAll(Corvane::Abi::Utf8Path(file)), "marked");
    const std::string copy = Out() + Platform::PathDelim + "копия";
    EXPECT_TRUE(TSysUtils::CopyDirectory(folder, copy));
    EXPECT_EQ(TSysUtils::GetSizeOfFile(copy + Platform::PathDelim + "名前 ✓.txt"), 6);
}

TEST_F(FolderTest, LnkFilePathFollowsLinksAndLaunchers) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links and launcher files; Windows shortcuts are tested with the shell";
#endif
    fs::create_symlink("sub1/c.txt", FRoot / "relative-link");
    EXPECT_EQ(TSysUtils::GetLnkFilePath(In("relative-link")), In("sub1/c.txt"));
    fs::create_symlink("/nowhere/at/all", FRoot / "dangling");
    EXPECT_EQ(TSysUtils::GetLnkFilePath(In("dangling")), "/nowhere/at/all");

    WriteAll(In("app.desktop"),
             "[Desktop Entry]\nType=Application\nName=App\nExec=\"/opt/my app/run\" --flag %f\n");
    EXPECT_EQ(TSysUtils::GetLnkFilePath(In("app.desktop")), "/opt/my app/run");
    WriteAll(In("sh.desktop"), "[Desktop Entry]\nType=Application\nName=Sh\nExec=sh -c true\n");
    const std::string sh = TSysUtils::GetLnkFilePath(In("sh.desktop"));
    EXPECT_TRUE(sh.starts_with("/") && sh.ends_with("/sh")) << "a bare name is looked up on the PATH: " << sh;
    WriteAll(In("site.desktop"), "[Desktop Entry]\nType=Link\nName=Site\nURL=https://example.org/a b\n");
    EXPECT_EQ(TSysUtils::GetLnkFilePath(In("site.desktop")), "https://example.org/a b");

    WriteAll(In("broken.desktop"), "not a launcher");
    EXPECT_EQ(TSysUtils::GetLnkFilePath(In("broken.desktop")), "");
    EXPECT_EQ(TSysUtils::GetLnkFilePath(In("a.txt")), "");
    EXPECT_EQ(TSysUtils::GetLnkFilePath(In("missing")), "");
}

} // namespace
