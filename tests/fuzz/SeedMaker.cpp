// Writes the seed corpus of every fuzz target: small valid inputs of each kind, made with the
// project's own writers. Usage: fuzz-seeds OUTPUT_FOLDER RESOURCE_FOLDER
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "shared/PackageFormat.h"
#include "shared/PeResources.h"
#include "shared/VersionInfo.h"
#include "shared/ZipWriter.h"

#include "PeBytes.h"

using namespace Corvane::Shared;
namespace fs = std::filesystem;

namespace {

using PeBytes::MinimalPe;
using PeBytes::Put16;
using PeBytes::Put32;
using PeBytes::Put64;
using PeBytes::TBytes;

fs::path gOutput;

void Write(const std::string& target, const std::string& name, const void* data, std::size_t size) {
    fs::create_directories(gOutput / target);
    std::ofstream out(gOutput / target / name, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}
void Write(const std::string& target, const std::string& name, const std::string& text) {
    Write(target, name, text.data(), text.size());
}
void Write(const std::string& target, const std::string& name, const TBytes& bytes) {
    Write(target, name, bytes.data(), bytes.size());
}

TBytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return TBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A small ELF64 executable: one loadable segment and a section table of two entries.
TBytes MinimalElf() {
    TBytes elf(0x200);
    const std::uint8_t ident[] = {0x7F, 'E', 'L', 'F', 2, 1, 1};
    std::memcpy(elf.data(), ident, sizeof ident);
    Put16(elf, 16, 2);
    Put16(elf, 18, 62);
    Put32(elf, 20, 1);
    Put64(elf, 32, 64);    // program headers
    Put64(elf, 40, 0x180); // section headers
    Put16(elf, 52, 64);
    Put16(elf, 54, 56);
    Put16(elf, 56, 1);
    Put16(elf, 58, 64);
    Put16(elf, 60, 2);
    Put32(elf, 64, 1);          // PT_LOAD
    Put64(elf, 64 + 8, 0);      // offset
    Put64(elf, 64 + 32, 0x180); // file size
    Put32(elf, 0x1C0 + 4, 1);   // a PROGBITS section
    Put64(elf, 0x1C0 + 24, 0x100);
    Put64(elf, 0x1C0 + 32, 0x40);
    elf.resize(0x200);
    return elf;
}

TVersionNode Text(std::u16string key, std::u16string value) {
    TVersionNode node{std::move(key), true, {}, {}};
    for (const char16_t c : value + u'\0') {
        node.Value.push_back(static_cast<std::uint8_t>(c));
        node.Value.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return node;
}

TBytes VersionBlock() {
    TBytes fixed(52);
    Put32(fixed, 0, 0xFEEF04BD);
    Put32(fixed, 4, 0x10000);
    Put32(fixed, 8, 0x10000);
    TVersionNode strings{
        u"040904B0", true, {}, {Text(u"FileVersion", u"1.0.0.0"), Text(u"ProductName", u"Seed")}};
    TVersionNode translation{u"Translation", false, {0x09, 0x04, 0xB0, 0x04}, {}};
    TVersionNode root{u"VS_VERSION_INFO", false, fixed, {}};
    root.Children.push_back({u"StringFileInfo", true, {}, {strings}});
    root.Children.push_back({u"VarFileInfo", true, {}, {translation}});
    return WriteVersionBlock(root);
}

// An ICO file of a PNG image and a small bitmap-sized blob.
TBytes Icon(const TBytes& png) {
    TBytes ico;
    Put16(ico, 2, 1);
    Put16(ico, 4, 2);
    ico.resize(6 + 32);
    const TBytes other(40, 0x28);
    std::size_t offset = ico.size();
    const TBytes* images[] = {&png, &other};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t e = 6 + 16 * i;
        ico[e] = ico[e + 1] = i == 0 ? 16 : 1;
        Put16(ico, e + 4, 1);
        Put16(ico, e + 6, 32);
        Put32(ico, e + 8, static_cast<std::uint32_t>(images[i]->size()));
        Put32(ico, e + 12, static_cast<std::uint32_t>(offset));
        offset += images[i]->size();
    }
    for (const TBytes* image : images)
        ico.insert(ico.end(), image->begin(), image->end());
    return ico;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: fuzz-seeds OUTPUT_FOLDER RESOURCE_FOLDER\n", stderr);
        return 2;
    }
    gOutput = argv[1];
    const fs::path resources = argv[2];
    const std::string ini =
        "; settings\r\n[App]\r\nID=seed.app\r\nName=Seed \xC3\x9C\r\nDirName=app\r\nWidth=$400\r\n";

    {
        fs::create_directories(gOutput / "ZipArchive");
        TZipWriter zip((gOutput / "ZipArchive" / "package.zip").string(), kArchivePassword);
        zip.AddData(kSettingsEntry, ini, 1600000000);
        zip.AddFolder("app/", 1600000000);
        zip.AddData("app/index.html", "<!doctype html><p>seed</p>", 1600000000);
        zip.Finish();
    }

    Write("Settings", "utf8-bom.ini", "\xEF\xBB\xBF" + ini);
    Write("Settings", "plain.ini", ini);
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("[App]\r\nID=x\r\n"))
        utf16 += std::string{c, '\0'};
    Write("Settings", "utf16le.ini", utf16);

    Write("ExeImage", "minimal.elf", MinimalElf());
    Write("ExeImage", "minimal32.exe", MinimalPe(false));

    const TBytes png = ReadFile(resources / "key-16.png");
    const TBytes icon = Icon(png);
    Write("IconFile", "two-images.ico", icon);
    Write("VersionBlock", "version.bin", VersionBlock());

    for (const bool is64 : {false, true}) {
        TPeImage image = TPeImage::FromBytes(MinimalPe(is64));
        image.Set(kRtGroupIcon, TResId(u"MAINICON"), kLangEnglishUs,
                  TBytes{0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 4, 0, 0, 0, 1, 0});
        image.Set(kRtIcon, 1, kLangEnglishUs, png);
        image.Set(kRtVersion, 1, kLangEnglishUs, VersionBlock());
        Write("PeResources", is64 ? "resources64.exe" : "resources32.exe", image.Build());
    }

    Write("Base64", "padded.txt", "aGVsbG8gd29ybGQ=");
    Write("Base64", "lines.txt", "aGVs\r\nbG8g d29y\nbGQ");

    Write("FileTypes", "filters.txt", "Text files|*.txt;Pictures|*.png;*.jpg;All files|*.*");

    const std::string menu =
        nlohmann::json::array(
            {{{"id", 1},
              {"caption", "File"},
              {"items",
               {{{"id", 2}, {"caption", "Open"}, {"enabled", "false"}}, {{"id", "3"}, {"caption", "-"}}}}},
             {{"id", 4}, {"caption", "Help"}, {"image", "app/missing.png"}}})
            .dump();
    Write("MenuJson", "menu.json", menu);

    const char* messages[] = {
        R"({"id": 10001, "uuid": "0b7e2f3a", "data": {}})",
        R"({"id": "10002", "uuid": "u\"v", "data": {"extra": [1.5, null]}})",
        R"({"id": 40001, "uuid": "d", "data": {"dirPath": "/tmp"}})",
        R"({"id": 60005, "uuid": "t", "data": {}})",
    };
    for (std::size_t i = 0; i < std::size(messages); ++i)
        Write("BridgeDispatch", "message" + std::to_string(i) + ".json", messages[i]);
    nlohmann::json withMenu = {{"id", 12001}, {"uuid", "m"}, {"data", {{"items", menu}}}};
    Write("BridgeDispatch", "menu.json", withMenu.dump());
    return 0;
}
