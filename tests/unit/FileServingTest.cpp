// Tests of where file:/// requests are answered from: archive, executable's folder, path as written.
#include "browser/FileServing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shared/PackageFormat.h"
#include "shared/ZipReader.h"
#include "shared/ZipWriter.h"

using namespace Corvane::Shared;
using namespace Corvane::Browser;
namespace fs = std::filesystem;

namespace {

class FileServing : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = fs::temp_directory_path() / ("crv-serving-" + std::to_string(::getpid()));
        fs::create_directories(FDir / "exe" / "img");
        Write(FDir / "exe" / "beside.txt", "beside");
        Write(FDir / "exe" / "img" / "disk only.png", "png on disk");
        Write(FDir / "abs.css", "absolute");
        const auto zipPath = (FDir / "app.zip").string();
        {
            TZipWriter zip(zipPath, kArchivePassword);
            zip.AddData("APP/INDEX.HTML", "<p>index</p>");
            zip.AddData("app/img/my pic.png", "png");
            zip.AddData("app/a%2Fb.txt", "escaped name");
            zip.AddData("app/beside.txt", "from the archive");
            zip.Finish();
        }
        std::ifstream in(zipPath, std::ios::binary);
        FZipData.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        FZip.SetPassword(kArchivePassword);
        FZip.Open(FZipData.data(), FZipData.size());
        FSource = {&FZip, "app", (FDir / "exe").string() + "/"};
    }
    void TearDown() override { fs::remove_all(FDir); }

    static void Write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    fs::path FDir;
    std::vector<std::uint8_t> FZipData;
    TZipReader FZip;
    TFileSource FSource;
};

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST_F(FileServing, AnswersFromArchiveThenDiskThenPathAsWritten) {
    // file:///home/me/abs.css or file:///C:/Users/me/abs.css
    const std::string absPath = (FDir / "abs.css").generic_string();
    const std::string abs = (absPath.starts_with('/') ? "file://" : "file:///") + absPath;
#ifdef _WIN32
    const char* png = "image/x-png"; // the built-in table's, which the registry keeps
#else
    const char* png = "image/png"; // the system's mime.types replaces the built-in image/x-png
#endif
    const struct {
        std::string uri;
        const char* content; // nullptr: left to the browser
        const char* mime;
    } cases[] = {
        {"file:///index.html", "<p>index</p>", "text/html"},
        {"file:///img/my%20pic.png", "png", png},
        // The archive comes before the executable's folder.
        {"file:///beside.txt", "from the archive", "text/plain"},
        {"file:///img/disk%20only.png", "png on disk", png},
        {abs, "absolute", "text/css"},
        // Only %20 is decoded; %2F stays in the name, which the archive holds literally.
        {"file:///a%2Fb.txt", "escaped name", "text/plain"},
        {"file:///a/b.txt", nullptr, nullptr},
        {"file:///index.html?x=1", nullptr, nullptr},
        {"file:///index.html#top", nullptr, nullptr},
        {"FILE:///index.html", nullptr, nullptr},
        {"file:///missing.js", nullptr, nullptr},
        {"https://example.com/index.html", nullptr, nullptr},
        {"data:text/plain,x", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto served = ServeFileRequest(c.uri, FSource);
        if (!c.content) {
            EXPECT_FALSE(served) << c.uri;
            continue;
        }
        ASSERT_TRUE(served) << c.uri;
        EXPECT_EQ(Text(served->Content), c.content) << c.uri;
        EXPECT_EQ(served->Headers(), std::string("Content-Type: ") + c.mime + "; charset=utf-8") << c.uri;
    }
}

TEST_F(FileServing, WithoutArchiveOrFolderNameOnlyDiskAnswers) {
    for (auto source :
         {TFileSource{nullptr, "app", FSource.AppDirPath}, TFileSource{&FZip, "", FSource.AppDirPath}}) {
        EXPECT_FALSE(ServeFileRequest("file:///index.html", source));
        const auto served = ServeFileRequest("file:///beside.txt", source);
        ASSERT_TRUE(served);
        EXPECT_EQ(Text(served->Content), "beside");
    }
}
