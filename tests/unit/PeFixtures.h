// Helpers of the resource-editing tests: the mingw-built fixtures, files in a private folder, and
// icon files made to measure.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "PeBytes.h"

namespace PeFixtures {

using namespace PeBytes;

inline TBytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return TBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const TBytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// tiny.exe (no resources) or tiny-res.exe (the runtime's icon and version block), built with
// mingw-w64; empty when the build had no mingw-w64.
inline std::filesystem::path Fixture(const std::string& name) {
    const std::filesystem::path path = std::filesystem::path(CRV_TEST_FIXTURE_DIR) / name;
    return std::filesystem::exists(path) ? path : std::filesystem::path();
}

#define CRV_NEED_FIXTURE(var, name)                                                                          \
    const std::filesystem::path var = PeFixtures::Fixture(name);                                             \
    if (var.empty()) GTEST_SKIP() << name << " was not built (no mingw-w64)"

// A folder of its own for each test, removed afterwards.
class TTempDir {
public:
    TTempDir() {
        std::random_device random;
        FPath = std::filesystem::temp_directory_path() / ("crv-pe-" + std::to_string(random()));
        std::filesystem::create_directories(FPath);
    }
    ~TTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    const std::filesystem::path& Path() const { return FPath; }
    std::filesystem::path Copy(const std::filesystem::path& from, const std::string& name) const {
        std::filesystem::copy_file(from, FPath / name, std::filesystem::copy_options::overwrite_existing);
        return FPath / name;
    }

private:
    std::filesystem::path FPath;
};

inline std::uint32_t Get32(const TBytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// An ICO file whose image i is (width, fill) with distinct bytes; the editor copies images as they
// are, so the bytes only need to be told apart.
inline TBytes MakeIco(const std::vector<std::pair<std::uint8_t, std::size_t>>& images) {
    TBytes ico;
    Put16(ico, 0, 0);
    Put16(ico, 2, 1);
    Put16(ico, 4, static_cast<std::uint32_t>(images.size()));
    std::size_t offset = 6 + 16 * images.size();
    ico.resize(offset);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto [width, size] = images[i];
        const std::size_t e = 6 + 16 * i;
        ico[e] = width;
        ico[e + 1] = width;
        Put16(ico, e + 4, 1);
        Put16(ico, e + 6, 32);
        Put32(ico, e + 8, static_cast<std::uint32_t>(size));
        Put32(ico, e + 12, static_cast<std::uint32_t>(offset));
        for (std::size_t k = 0; k < size; ++k)
            ico.push_back(static_cast<std::uint8_t>(i * 31 + k));
        offset += size;
    }
    return ico;
}

} // namespace PeFixtures
