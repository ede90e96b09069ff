// Tests of the GTK backend's reader of the system's MIME registrations (mime.types and
// shared-mime-info globs), on fixture files.
#include "platform/gtk/SystemMimeFiles.h"

#include "shared/MimeTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Mime = Corvane::Shared::Mime;

namespace {

using TPairs = std::vector<std::pair<std::string, std::string>>;

const std::string kMimeFixtures = std::string(CRV_TEST_SOURCE_DIR) + "/fixtures/mime/";

Mime::TAddMimeType Collect(TPairs& pairs) {
    return [&pairs](const std::string& ext, const std::string& type) { pairs.emplace_back(ext, type); };
}

// Sets an environment variable for one test and puts the old value back.
class TScopedEnv {
public:
    TScopedEnv(const char* name, const std::string& value) : FName(name) {
        if (const char* old = std::getenv(name)) FOld = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~TScopedEnv() {
        if (FOld)
            ::setenv(FName, FOld->c_str(), 1);
        else
            ::unsetenv(FName);
    }
    TScopedEnv(const TScopedEnv&) = delete;
    TScopedEnv& operator=(const TScopedEnv&) = delete;

private:
    const char* FName;
    std::optional<std::string> FOld;
};

} // namespace

TEST(MimeTable, SystemLayersWinOverTheBuiltInList) {
    const auto fixtureSystem = [](bool withGlobs) {
        return [withGlobs](const Mime::TAddMimeType& add) {
            Platform::MimeFiles::ReadMimeTypes(kMimeFixtures + "mime.types", add);
            if (withGlobs) Platform::MimeFiles::ReadMimeGlobs(kMimeFixtures + "share/mime", add);
        };
    };
    const Mime::TMimeMap typesOnly = Mime::BuildMimeTable(Mime::BuiltInMimeTypes(), fixtureSystem(false));
    EXPECT_EQ(typesOnly.at(".png"), "image/vnd.test-png");
    EXPECT_EQ(typesOnly.at(".upper"), "text/x-upper");
    const Mime::TMimeMap both = Mime::BuildMimeTable(Mime::BuiltInMimeTypes(), fixtureSystem(true));
    EXPECT_EQ(both.at(".png"), "image/x-fixture-png");
    EXPECT_EQ(both.at(".tst"), "text/x-later");
    EXPECT_EQ(both.at(".html"), "text/html"); // untouched by the fixtures
}

TEST(SystemMimeFiles, ReadsMimeTypesInFileOrder) {
    TPairs pairs;
    Platform::MimeFiles::ReadMimeTypes(kMimeFixtures + "mime.types", Collect(pairs));
    const TPairs expected{{".png", "image/vnd.test-png"},
                          {".tst", "text/x-first"},
                          {".one", "text/x-first"},
                          {".tst", "text/x-later"},
                          {".UPPER", "TEXT/X-Upper"}};
    EXPECT_EQ(pairs, expected);
}

TEST(SystemMimeFiles, ReadsPlainGlobsHighestWeightFirst) {
    TPairs pairs;
    Platform::MimeFiles::ReadMimeGlobs(kMimeFixtures + "share/mime", Collect(pairs));
    const TPairs expected{{".dup", "text/x-high"},       {".png", "image/x-fixture-png"},
                          {".rise", "text/x-rise-high"}, {".tie", "text/x-tie-first"},
                          {".c", "text/x-csrc"},         {".tar.gz", "application/x-compressed-tar"},
                          {".CAPS", "text/x-caps"}};
    EXPECT_EQ(pairs, expected);
}

TEST(SystemMimeFiles, FallsBackToGlobsWithoutWeights) {
    TPairs pairs;
    Platform::MimeFiles::ReadMimeGlobs(kMimeFixtures + "legacy/mime/", Collect(pairs));
    const TPairs expected{{".png", "image/x-legacy-png"}, {".leg", "text/x-legacy"}};
    EXPECT_EQ(pairs, expected);
}

TEST(SystemMimeFiles, MissingFilesGiveNothing) {
    TPairs pairs;
    Platform::MimeFiles::ReadMimeTypes(kMimeFixtures + "no-such-file", Collect(pairs));
    Platform::MimeFiles::ReadMimeGlobs(kMimeFixtures + "no-such-dir", Collect(pairs));
    Platform::MimeFiles::ReadMimeGlobs(kMimeFixtures, Collect(pairs)); // a folder, but no globs
    EXPECT_TRUE(pairs.empty());
}

TEST(SystemMimeFiles, FindsTheFirstDataDirWithGlobs) {
    {
        TScopedEnv env("XDG_DATA_DIRS",
                       "/no/such/dir::" + kMimeFixtures + "legacy/:" + kMimeFixtures + "share");
        EXPECT_EQ(Platform::MimeFiles::FindMimeDir(), kMimeFixtures + "legacy/mime/");
    }
    {
        TScopedEnv env("XDG_DATA_DIRS", kMimeFixtures + "share");
        EXPECT_EQ(Platform::MimeFiles::FindMimeDir(), kMimeFixtures + "share/mime/");
    }
    {
        TScopedEnv env("XDG_DATA_DIRS", "/no/such/dir");
        EXPECT_EQ(Platform::MimeFiles::FindMimeDir(), "/usr/share/mime/");
    }
}
