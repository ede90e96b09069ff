// Reading an ICO file and checking its image directory before any of it is used.
#include "shared/IconFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "abi/Utf.h"
#include "shared/BinaryReader.h"

namespace Corvane::Shared {

std::vector<std::uint8_t> ReadIconFile(const std::string& path, std::uint64_t maxSize) {
    const std::filesystem::path file = Abi::Utf8Path(path);
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored))
        throw std::runtime_error("Cannot open the icon file \"" + path + "\": " + std::strerror(EISDIR));
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open the icon file \"" + path +
                                 "\": " + std::strerror(errno != 0 ? errno : ENOENT));
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw std::runtime_error("Cannot read the icon file \"" + path + "\"");
    if (static_cast<std::uint64_t>(size) > maxSize) throw std::runtime_error("Icon file is too large");
    in.seekg(0);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (in.gcount() != size) throw std::runtime_error("Cannot read the icon file \"" + path + "\"");
    return bytes;
}

std::vector<TIconImage> ReadIconImages(std::span<const std::uint8_t> ico) {
    const auto invalid = [] { return std::runtime_error("Icon file is invalid"); };
    if (ico.size() < 6 || (ico[0] == 'M' && ico[1] == 'Z')) throw invalid();
    TBinaryReader r(ico);
    const std::uint16_t count = r.U16At(4);
    if (ico.size() < 6 + 16 * std::size_t{count}) throw invalid();

    std::vector<TIconImage> images;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const std::uint32_t size = r.U32At(entry + 8);
        const std::uint32_t offset = r.U32At(entry + 12);
        // The sum must fit in 32 bits, as the format's own offsets do.
        if (std::uint64_t{offset} + size > 0xFFFFFFFFu || std::uint64_t{offset} + size > ico.size())
            throw invalid();
        images.push_back({ico.subspan(entry, 12), ico.subspan(offset, size)});
    }
    return images;
}

} // namespace Corvane::Shared
