// The package file: appending an archive to an executable and copying it back out.
#include "shared/ExeUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

using namespace Corvane::Shared;

namespace {

TBytes ReadAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteAll(const std::filesystem::path& path, const TBytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Records the progress events of one copy.
struct TProgress {
    std::vector<std::int64_t> Max, Pos;
    std::vector<void*> Senders;

    void Attach(TExeUtils& utils) {
        utils.OnProgressMax = [this](void* sender, std::int64_t max) {
            Senders.push_back(sender);
            Max.push_back(max);
        };
        utils.OnProgressPos = [this](void* sender, std::int64_t pos) {
            Senders.push_back(sender);
            Pos.push_back(pos);
        };
    }

    // One maximum of total, then the running total after every full block and at the end.
    void Expect(const TExeUtils& utils, std::int64_t total) const {
        ASSERT_EQ(Max, std::vector<std::int64_t>{total});
        std::vector<std::int64_t> expected;
        for (std::int64_t pos = TExeUtils::kBlockSize; pos < total; pos += TExeUtils::kBlockSize)
            expected.push_back(pos);
        if (total > 0) expected.push_back(total);
        EXPECT_EQ(Pos, expected);
        for (void* sender : Senders)
            EXPECT_EQ(sender, &utils);
    }
};

class ExeUtilsTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        // Only the PE fixture is optional: it needs mingw-w64.
        if (GetParam().ends_with(".exe") && !std::filesystem::exists(GetParam()))
            GTEST_SKIP() << "no mingw-w64, so no PE fixture";
        FDir = std::filesystem::temp_directory_path() /
               ("crv-exeutils-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(FDir);
        FExe = FDir / "package";
        std::filesystem::copy_file(GetParam(), FExe);
        FImageSize = static_cast<std::int64_t>(std::filesystem::file_size(FExe));

        // Not a multiple of the block size, so the last block is a short one.
        std::mt19937 random(7);
        FZip.resize(3 * TExeUtils::kBlockSize + 1234);
        for (auto& byte : FZip)
            byte = static_cast<std::uint8_t>(random());
        WriteAll(FDir / "app.zip", FZip);
    }
    void TearDown() override {
        if (!FDir.empty()) std::filesystem::remove_all(FDir);
    }

    std::filesystem::path FDir, FExe;
    std::int64_t FImageSize = 0;
    TBytes FZip;
};

} // namespace

TEST_P(ExeUtilsTest, AppendedArchiveComesBackByteForByte) {
    TExeUtils packer(FExe.string());
    TProgress appendProgress;
    appendProgress.Attach(packer);
    packer.AppendZipToExe((FDir / "app.zip").string(), FExe.string());
    appendProgress.Expect(packer, static_cast<std::int64_t>(FZip.size()));
    EXPECT_EQ(std::filesystem::file_size(FExe), FImageSize + FZip.size());

    TExeUtils package(FExe.string());
    EXPECT_TRUE(package.ExeHasAttachedStub());
    EXPECT_EQ(package.GetArchiveLength(), static_cast<std::int64_t>(FZip.size()));

    TProgress getProgress;
    getProgress.Attach(package);
    TBytes memory = {1, 2, 3}; // replaced, not appended to
    package.GetZipFromExe(memory);
    EXPECT_EQ(memory, FZip);
    getProgress.Expect(package, static_cast<std::int64_t>(FZip.size()));

    TProgress extractProgress;
    extractProgress.Attach(package);
    WriteAll(FDir / "out.zip", TBytes(100000, 0xAA)); // emptied first
    package.ExtractZipFromExe((FDir / "out.zip").string());
    EXPECT_EQ(ReadAll(FDir / "out.zip"), FZip);
    extractProgress.Expect(package, static_cast<std::int64_t>(FZip.size()));
}

TEST_P(ExeUtilsTest, BareImageHasNoArchive) {
    TExeUtils bare(FExe.string());
    EXPECT_EQ(bare.GetArchiveLength(), 0);
    EXPECT_FALSE(bare.ExeHasAttachedStub());
}

// L = 0 ends the process with 0 after the error box; without a display the box only reaches
// standard error.
TEST_P(ExeUtilsTest, CopyingFromBareImageRefusesAndExits) {
    TExeUtils bare(FExe.string());
    TBytes memory;
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            bare.GetZipFromExe(memory);
        },
        ::testing::ExitedWithCode(0), "Error: This is not a valid Windows application");
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            bare.ExtractZipFromExe((FDir / "out.zip").string());
        },
        ::testing::ExitedWithCode(0), "not a valid Windows application");
}

// A file cut short: the last raw data of a PE image then reaches past its end (L < 0, nothing is
// copied), while an ELF file loses its section header table, which is no readable image (L = 0).
TEST_P(ExeUtilsTest, FileShorterThanItsImageHasNoArchive) {
    std::filesystem::resize_file(FExe, static_cast<std::uintmax_t>(FImageSize - 1));
    TExeUtils cut(FExe.string());
    EXPECT_FALSE(cut.ExeHasAttachedStub());
    if (GetParam().ends_with(".exe")) {
        EXPECT_EQ(cut.GetArchiveLength(), -1);
        TBytes memory = {9};
        cut.GetZipFromExe(memory);
        EXPECT_EQ(memory, TBytes{9});
    } else {
        EXPECT_EQ(cut.GetArchiveLength(), 0);
    }
}

// A file cut short under a running copy ends the copy with an error instead of a loop.
TEST_P(ExeUtilsTest, FileShrinkingDuringCopyStops) {
    auto expectTruncated = [](const char* what, auto&& copy) {
        SCOPED_TRACE(what);
        try {
            copy();
            ADD_FAILURE() << "no error";
        } catch (const std::system_error& e) {
            ADD_FAILURE() << "a file error: " << e.what();
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("truncated"), std::string::npos) << e.what();
        }
    };
    const auto zipPath = FDir / "app.zip";
    TExeUtils packer(FExe.string());
    packer.OnProgressPos = [&](void*, std::int64_t) { std::filesystem::resize_file(zipPath, 100); };
    expectTruncated("append", [&] { packer.AppendZipToExe(zipPath.string(), FExe.string()); });

    WriteAll(zipPath, FZip);
    TExeUtils package(FExe.string());
    package.OnProgressPos = [&](void*, std::int64_t) {
        std::filesystem::resize_file(FExe, static_cast<std::uintmax_t>(FImageSize) + 10);
    };
    auto repack = [&] {
        std::filesystem::resize_file(FExe, static_cast<std::uintmax_t>(FImageSize));
        TExeUtils(FExe.string()).AppendZipToExe(zipPath.string(), FExe.string());
    };
    repack();
    TBytes memory;
    expectTruncated("get", [&] { package.GetZipFromExe(memory); });
    repack();
    expectTruncated("extract", [&] { package.ExtractZipFromExe((FDir / "out.zip").string()); });
}

// The length comes whole from the directory entry; a sparse file makes a large one cheaply.
TEST_P(ExeUtilsTest, ArchiveLengthBeyondFourGiB) {
    const std::uintmax_t big = (5ull << 30) + 77;
    std::error_code error;
    std::filesystem::resize_file(FExe, static_cast<std::uintmax_t>(FImageSize) + big, error);
    if (error) GTEST_SKIP() << "no sparse file here: " << error.message();
    EXPECT_EQ(TExeUtils(FExe.string()).GetArchiveLength(), static_cast<std::int64_t>(big));
}

INSTANTIATE_TEST_SUITE_P(Images, ExeUtilsTest,
                         ::testing::Values(CRV_TEST_BIN_DIR "/crv-runtime", CRV_TEST_FIXTURE_DIR "/tiny.exe"),
                         [](const auto& param) { return param.index == 0 ? "Elf" : "Pe"; });

TEST(ExeUtilsFiles, MissingExecutableHasNoArchive) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("crv-exeutils-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    TExeUtils missing((dir / "missing").string());
    EXPECT_EQ(missing.GetArchiveLength(), -1);
    EXPECT_FALSE(missing.ExeHasAttachedStub());

    TBytes memory = {4, 5};
    missing.GetZipFromExe(memory);
    EXPECT_EQ(memory, (TBytes{4, 5}));
    // The target is still created (empty), as the copy starts by creating it.
    missing.ExtractZipFromExe((dir / "out.zip").string());
    EXPECT_EQ(std::filesystem::file_size(dir / "out.zip"), 0u);
    std::filesystem::remove_all(dir);
}

TEST(ExeUtilsFiles, FileErrorsNameThePath) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("crv-exeutils-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    WriteAll(dir / "app.zip", TBytes(10, 1));
    WriteAll(dir / "exe", TBytes(10, 2));
    TExeUtils utils((dir / "exe").string());

    auto expectError = [](auto&& action, const std::string& path, const char* what) {
        SCOPED_TRACE(what);
        try {
            action();
            ADD_FAILURE() << "no error";
        } catch (const std::system_error& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
            EXPECT_EQ(e.code(), std::errc::no_such_file_or_directory) << e.what();
        }
    };
    const std::string missingZip = (dir / "missing.zip").string(),
                      missingExe = (dir / "missing-exe").string();
    expectError([&] { utils.AppendZipToExe(missingZip, (dir / "exe").string()); }, missingZip, "zip missing");
    // The executable must exist already; it is not created.
    expectError([&] { utils.AppendZipToExe((dir / "app.zip").string(), missingExe); }, missingExe,
                "exe missing");
    EXPECT_FALSE(std::filesystem::exists(missingExe));
    std::filesystem::remove_all(dir);
}
