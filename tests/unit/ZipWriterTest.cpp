// The package archive writer: what our reader gets back, the bytes other readers rely on, the limits.
#include "shared/ZipWriter.h"

#include "shared/PackageFormat.h"
#include "shared/ZipCrypto.h"
#include "shared/ZipReader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

using namespace Corvane::Shared;
namespace fs = std::filesystem;

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string RandomBytes(std::size_t size) {
    std::mt19937 random(42);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

std::uint16_t U16(const TBytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}
std::uint32_t U32(const TBytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(U16(b, at) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16);
}

bool HaveTool(const char* name) {
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

class ZipWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = fs::temp_directory_path() / ("crv-zipwriter-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(FDir);
        fs::create_directories(FDir);
        FBinary = RandomBytes(300 * 1024 + 17); // several blocks and a partial one
        std::ofstream(FDir / "data.bin", std::ios::binary).write(FBinary.data(), FBinary.size());
    }
    void TearDown() override { fs::remove_all(FDir); }

    // crv.ini, folders given with and without '/', an empty file and a streamed binary file.
    fs::path WriteSample() {
        const fs::path path = FDir / "sample.zip";
        TZipWriter zip(path.string(), kArchivePassword);
        zip.AddData(kSettingsEntry, "\xEF\xBB\xBF[App]\r\nID=x\r\n");
        zip.AddFolder("app");
        zip.AddFolder("app/sub/");
        zip.AddData("app/sub/empty.txt", "");
        zip.AddFile("app/data.bin", (FDir / "data.bin").string());
        zip.Finish();
        return path;
    }

    fs::path FDir;
    std::string FBinary;
};

TEST_F(ZipWriterTest, ReaderGetsBackNamesFoldersAndContent) {
    const TBytes archive = ReadAll(WriteSample());
    TZipReader reader;
    reader.SetPassword(kArchivePassword);
    reader.Open(archive.data(), archive.size());

    const std::vector<std::string> names = {"crv.ini", "app/", "app/sub/", "app/sub/empty.txt",
                                            "app/data.bin"};
    ASSERT_EQ(reader.EntryCount(), static_cast<std::int64_t>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(reader.EntryName(static_cast<std::int64_t>(i)), names[i]);

    TBytes ini, folder, empty, binary;
    EXPECT_TRUE(reader.ExtractToStream("CRV.INI", ini));
    EXPECT_EQ(std::string(ini.begin(), ini.end()), "\xEF\xBB\xBF[App]\r\nID=x\r\n");
    EXPECT_TRUE(reader.ExtractToStream("app/sub/", folder));
    EXPECT_TRUE(folder.empty());
    EXPECT_TRUE(reader.ExtractToStream("app/sub/empty.txt", empty));
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(reader.ExtractToStream("app/data.bin", binary));
    EXPECT_TRUE(std::string(binary.begin(), binary.end()) == FBinary);
}

TEST_F(ZipWriterTest, WrongPasswordGivesNothing) {
    const TBytes archive = ReadAll(WriteSample());
    TZipReader reader;
    reader.SetPassword("not the password");
    reader.Open(archive.data(), archive.size());
    for (const char* name : {"crv.ini", "app/data.bin"}) {
        TBytes content;
        EXPECT_FALSE(reader.ExtractToStream(name, content)) << name;
        EXPECT_TRUE(content.empty()) << name;
    }
}

// Walks the central directory and checks every record against its local header, its data
// descriptor and its decrypted encryption header.
TEST_F(ZipWriterTest, RecordsHaveTheFormOtherReadersExpect) {
    const TBytes b = ReadAll(WriteSample());
    const std::size_t end = b.size() - 22;
    ASSERT_EQ(U32(b, end), 0x06054b50u);
    const std::uint16_t count = U16(b, end + 10);
    ASSERT_EQ(count, 5);
    std::size_t central = U32(b, end + 16);
    EXPECT_EQ(central + U32(b, end + 12), end);
    EXPECT_EQ(U32(b, 0), 0x04034b50u) << "the first local header starts the archive";

    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(U32(b, central), 0x02014b50u);
        EXPECT_EQ(U16(b, central + 6), 20) << "version needed";
        EXPECT_EQ(U16(b, central + 8), 0x0009) << "flags";
        EXPECT_EQ(U16(b, central + 10), 0) << "method";
        const std::uint16_t time = U16(b, central + 12);
        const std::uint32_t crc = U32(b, central + 16);
        const std::uint32_t packed = U32(b, central + 20);
        const std::uint32_t size = U32(b, central + 24);
        const std::uint16_t nameLength = U16(b, central + 28);
        EXPECT_EQ(U16(b, central + 30) + U16(b, central + 32), 0) << "no extra field or comment";
        const std::size_t local = U32(b, central + 42);
        const std::string name(b.begin() + static_cast<std::ptrdiff_t>(central + 46),
                               b.begin() + static_cast<std::ptrdiff_t>(central + 46 + nameLength));
        EXPECT_EQ(packed, size + 12);

        ASSERT_EQ(U32(b, local), 0x04034b50u) << "offsets count from the archive's first byte";
        EXPECT_EQ(U16(b, local + 4), 20);
        EXPECT_EQ(U16(b, local + 6), 0x0009);
        EXPECT_EQ(U16(b, local + 8), 0);
        EXPECT_EQ(U16(b, local + 10), time);
        EXPECT_EQ(U32(b, local + 14), 0u) << "CRC deferred to the descriptor";
        EXPECT_EQ(U32(b, local + 18), 0u);
        EXPECT_EQ(U32(b, local + 22), 0u);
        EXPECT_EQ(U16(b, local + 26), nameLength);
        const std::size_t data = local + 30 + nameLength;
        EXPECT_EQ(std::string(b.begin() + static_cast<std::ptrdiff_t>(local + 30),
                              b.begin() + static_cast<std::ptrdiff_t>(data)),
                  name);

        // The check byte that unzip, 7-Zip and libzip all accept when the CRC is deferred.
        TBytes plain(b.begin() + static_cast<std::ptrdiff_t>(data),
                     b.begin() + static_cast<std::ptrdiff_t>(data + packed));
        TZipCrypto cipher(kArchivePassword);
        cipher.Decrypt(plain.data(), plain.size());
        EXPECT_EQ(plain[11], time >> 8);
        EXPECT_EQ(crc32(0, plain.data() + 12, static_cast<uInt>(size)), crc);
        if (name.back() == '/') {
            EXPECT_EQ(packed, 12u) << "a folder carries only the encryption header";
        }

        const std::size_t descriptor = data + packed;
        EXPECT_EQ(U32(b, descriptor), 0x08074b50u);
        EXPECT_EQ(U32(b, descriptor + 4), crc);
        EXPECT_EQ(U32(b, descriptor + 8), packed);
        EXPECT_EQ(U32(b, descriptor + 12), size);
        central += 46 + nameLength;
    }
}

TEST_F(ZipWriterTest, UnzipAndSevenZipAcceptTheArchive) {
    const fs::path archive = WriteSample();
    bool ranOne = false;
    const std::string quoted = "'" + archive.string() + "'";
    if (HaveTool("unzip")) {
        ranOne = true;
        EXPECT_EQ(std::system(
                      ("unzip -qq -t -P " + std::string(kArchivePassword) + " " + quoted + " >/dev/null 2>&1")
                          .c_str()),
                  0);
    }
    if (HaveTool("7z")) {
        ranOne = true;
        EXPECT_EQ(
            std::system(
                ("7z t -p" + std::string(kArchivePassword) + " " + quoted + " >/dev/null 2>&1").c_str()),
            0);
    }
    if (!ranOne) GTEST_SKIP() << "neither unzip nor 7z is installed";
}

TEST_F(ZipWriterTest, RefusesTheEntryPastTheCountLimit) {
    const fs::path path = FDir / "many.zip";
    TZipWriter zip(path.string(), kArchivePassword);
    for (std::size_t i = 0; i < TZipWriter::kMaxEntries; ++i)
        zip.AddFolder(std::string("f").append(std::to_string(i)));
    EXPECT_THROW(zip.AddData("one-too-many", "x"), std::runtime_error);
}

TEST_F(ZipWriterTest, RefusesAFileThatWouldPassFourGiBBeforeWritingIt) {
    const fs::path big = FDir / "sparse.bin";
    std::ofstream(big).close();
    std::error_code error;
    fs::resize_file(big, TZipWriter::kMaxArchiveSize, error);
    if (error) GTEST_SKIP() << "no sparse file here: " << error.message();
    TZipWriter zip((FDir / "big.zip").string(), kArchivePassword);
    zip.AddData("small", "x");
    const std::uint64_t before = zip.BytesWritten();
    try {
        zip.AddFile("app/sparse.bin", big.string());
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("4 GiB"), std::string::npos) << e.what();
    }
    EXPECT_EQ(zip.BytesWritten(), before);
}

TEST_F(ZipWriterTest, FileErrorsNameThePath) {
    const std::string missing = (FDir / "missing.txt").string();
    TZipWriter zip((FDir / "e.zip").string(), kArchivePassword);
    try {
        zip.AddFile("app/missing.txt", missing);
        FAIL() << "no error";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code(), std::errc::no_such_file_or_directory);
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
    EXPECT_THROW(zip.AddFile("app/folder", FDir.string()), std::system_error);
    EXPECT_THROW(TZipWriter((FDir / "no" / "such" / "x.zip").string(), kArchivePassword), std::system_error);
}

TEST_F(ZipWriterTest, RefusesDuplicateAndEmptyNames) {
    TZipWriter zip((FDir / "d.zip").string(), kArchivePassword);
    zip.AddData("a.txt", "1");
    EXPECT_THROW(zip.AddData("a.txt", "2"), std::runtime_error);
    EXPECT_THROW(zip.AddData("", "2"), std::runtime_error);
}

} // namespace

// Zones by name come from the tz database, which the Windows C runtime does not read.
#if !defined(_WIN32)
// A time packed in one zone may not exist in the reader's zone (a daylight-saving gap). The check
// byte of the encryption header then fails the reader's comparison, yet the right password must
// still open the entry, and a wrong one still must not.
TEST_F(ZipWriterTest, EntryTimedInTheReadersDaylightSavingGapStillOpens) {
    const char* savedZone = std::getenv("TZ");
    const std::string saved = savedZone ? savedZone : "";
    const auto setZone = [](const char* zone) {
        if (zone)
            setenv("TZ", zone, 1);
        else
            unsetenv("TZ");
        tzset();
    };
    setZone("UTC");
    const fs::path path = FDir / "gap.zip";
    {
        TZipWriter zip(path.string(), kArchivePassword);
        zip.AddData("crv.ini", "[App]", 1711852200); // 2024-03-31 02:30 UTC, inside Berlin's gap
        zip.Finish();
    }
    setZone("Europe/Berlin");
    const TBytes archive = ReadAll(path);
    for (const auto& [password, expected] : {std::pair{kArchivePassword, "[App]"}, {"wrong", ""}}) {
        TZipReader reader;
        reader.SetPassword(password);
        reader.Open(archive.data(), archive.size());
        TBytes content;
        EXPECT_EQ(reader.ExtractToStream("crv.ini", content), *expected != 0) << password;
        EXPECT_EQ(std::string(content.begin(), content.end()), expected) << password;
    }
    setZone(savedZone ? saved.c_str() : nullptr);
}
#endif
