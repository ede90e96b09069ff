// Reading encrypted archives made by other archivers from memory, and the name matching rules.
#include "shared/ZipReader.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "shared/PackageFormat.h"

using namespace Corvane::Shared;

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Fixture(const std::string& name) {
    std::ifstream file(CRV_TEST_SOURCE_DIR "/fixtures/zip/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return TBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Text(const TBytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The files that make.sh puts into every archive.
const std::vector<std::pair<std::string, std::string>> kEntries = {
    {"crv.ini", "[App]\r\nID=fixture\r\nName=Fixture\r\n"},
    {"app/index.html", "<!doctype html><title>x</title><p>aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa</p>\n"},
    {"app/\xC3\xA4.txt", "umlaut\n"},
    {"app/", ""},
};

class ZipReaderFixtures : public ::testing::TestWithParam<std::string> {
protected:
    void Open(const std::string& password) {
        FData = Fixture(GetParam());
        FReader.SetPassword(password);
        FReader.Open(FData.data(), FData.size());
    }

    TBytes FData;
    TZipReader FReader;
};

} // namespace

TEST_P(ZipReaderFixtures, EntriesReadWhole) {
    Open(kArchivePassword);
    ASSERT_TRUE(FReader.IsOpen());
    EXPECT_EQ(FReader.EntryCount(), 4);
    for (const auto& [name, content] : kEntries) {
        SCOPED_TRACE(name);
        TBytes stream = {'>'}; // appended to, at the end
        EXPECT_TRUE(FReader.ExtractToStream(name, stream));
        EXPECT_EQ(Text(stream), ">" + content);
        EXPECT_EQ(FReader.EntryName(FReader.FindFile(name)), name);
    }
}

TEST_P(ZipReaderFixtures, WrongPasswordGivesNothingAndNoError) {
    for (const std::string password : {"tqwm7pz1vcha5xk8lyfr2ebg6ju0nhs3wkqb", "", "wrong"}) {
        SCOPED_TRACE(password);
        Open(password);
        for (const auto& [name, content] : kEntries) {
            if (content.empty()) continue;
            TBytes stream = {'>'};
            EXPECT_FALSE(FReader.ExtractToStream(name, stream));
            EXPECT_EQ(Text(stream), ">");
        }
    }
}

TEST_P(ZipReaderFixtures, AnEntryLargerThanItsLimitThrowsAndLeavesNothing) {
    Open(kArchivePassword);
    const std::size_t size = kEntries[0].second.size();
    TBytes stream = {'>'};
    EXPECT_THROW(FReader.ExtractToStream("crv.ini", stream, size - 1), EZipError);
    EXPECT_EQ(Text(stream), ">");
    EXPECT_TRUE(FReader.ExtractToStream("crv.ini", stream, size));
    EXPECT_EQ(Text(stream), ">" + kEntries[0].second);
}

TEST_P(ZipReaderFixtures, NamesMatchWithoutAsciiCaseOnly) {
    Open(kArchivePassword);
    const std::int64_t ini = FReader.FindFile("crv.ini");
    ASSERT_GE(ini, 0);
    EXPECT_EQ(FReader.FindFile("CRV.INI"), ini);
    EXPECT_GE(FReader.FindFile("App/Index.HTML"), 0);
    EXPECT_GE(FReader.FindFile("APP/\xC3\xA4.TXT"), 0);
    for (const char* other :
         {"app\\index.html", "app/\xC3\x84.txt", "/crv.ini", "crv.ini ", "app", "crv", ""})
        EXPECT_EQ(FReader.FindFile(other), -1) << other;
    TBytes stream;
    EXPECT_FALSE(FReader.ExtractToStream("app\\index.html", stream));
    EXPECT_TRUE(stream.empty());
}

INSTANTIATE_TEST_SUITE_P(Archivers, ZipReaderFixtures,
                         ::testing::Values("infozip-stored.zip", "infozip-deflated.zip",
                                           "7zip-zipcrypto.zip"),
                         [](const auto& param) {
                             std::string name = param.param;
                             std::erase_if(
                                 name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
                             return name;
                         });

TEST(ZipReader, FirstOfCollidingNamesWins) {
    const TBytes data = Fixture("infozip-collide.zip");
    TZipReader reader;
    reader.SetPassword(kArchivePassword);
    reader.Open(data.data(), data.size());
    ASSERT_EQ(reader.EntryName(1), "CRV.INI");
    EXPECT_EQ(reader.FindFile("CRV.INI"), 0);
    TBytes stream;
    EXPECT_TRUE(reader.ExtractToStream("Crv.Ini", stream));
    EXPECT_EQ(Text(stream), "first");
}

// The first entry's stored data, changed in one byte, no longer matches its CRC.
TEST(ZipReader, DamagedEntryFailsQuietly) {
    TBytes data = Fixture("infozip-stored.zip");
    ASSERT_GE(data.size(), 30u);
    const std::size_t nameLength = data[26] | data[27] << 8, extraLength = data[28] | data[29] << 8;
    const std::size_t firstDataByte = 30 + nameLength + extraLength + 12;
    ASSERT_LT(firstDataByte + 5, data.size());
    data[firstDataByte + 5] ^= 0x01;

    TZipReader reader;
    reader.SetPassword(kArchivePassword);
    reader.Open(data.data(), data.size());
    TBytes stream = {'>'};
    EXPECT_FALSE(reader.ExtractToStream("crv.ini", stream));
    EXPECT_EQ(Text(stream), ">");
    EXPECT_TRUE(reader.ExtractToStream("app/index.html", stream));
}

TEST(ZipReader, DataThatIsNoArchiveThrows) {
    const TBytes archive = Fixture("infozip-stored.zip");
    const std::vector<std::pair<const char*, TBytes>> cases = {
        {"empty", {}},
        {"text", {'h', 'e', 'l', 'l', 'o'}},
        {"executable start", {0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"archive without its end record", TBytes(archive.begin(), archive.end() - 22)},
    };
    for (const auto& [name, data] : cases) {
        SCOPED_TRACE(name);
        TZipReader reader;
        try {
            reader.Open(data.data(), data.size());
            ADD_FAILURE() << "opened";
        } catch (const EZipError& e) {
            EXPECT_STRNE(e.what(), "");
        }
        EXPECT_FALSE(reader.IsOpen());
        EXPECT_EQ(reader.FindFile("crv.ini"), -1);
        TBytes stream;
        EXPECT_FALSE(reader.ExtractToStream("crv.ini", stream));
    }
}
