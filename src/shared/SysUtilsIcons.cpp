// The icon a Windows executable or an icon file carries, decoded into plain pixels.
#include "shared/SysUtils.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>
#include <optional>

#include "abi/Utf.h"
#include "platform/Images.h"
#include "shared/BinaryReader.h"
#include "shared/IconFile.h"
#include "shared/PeResources.h"

namespace Corvane::Shared {

namespace {

// The system hands out icons at its large-icon size.
constexpr int kIconSize = 32;
constexpr std::uint64_t kMaxIconFileSize = 16 * 1048576;

struct TIconCandidate {
    std::span<const std::uint8_t> Entry; // width, height, colours, reserved, planes, bits, size
    std::span<const std::uint8_t> Data;
};

// The image nearest the large-icon size; of equal ones, the one with more colour bits.
std::optional<TIconCandidate> Nearest(const std::vector<TIconCandidate>& candidates) {
    std::optional<TIconCandidate> best;
    int bestDistance = 0, bestBits = 0;
    for (const auto& candidate : candidates) {
        TBinaryReader entry(candidate.Entry);
        const int width = entry.U8(), height = entry.U8();
        entry.Skip(4);
        const int bits = entry.U16();
        if (!entry.Ok() || candidate.Data.empty()) continue;
        const int distance = std::abs((width == 0 ? 256 : width) - kIconSize) +
                             std::abs((height == 0 ? 256 : height) - kIconSize);
        if (!best || distance < bestDistance || (distance == bestDistance && bits > bestBits)) {
            best = candidate;
            bestDistance = distance;
            bestBits = bits;
        }
    }
    return best;
}

// An ICO file holding just that image, which the decoder takes as it takes any icon file.
std::vector<std::uint8_t> SingleImageIco(const TIconCandidate& icon) {
    std::vector<std::uint8_t> ico = {0, 0, 1, 0, 1, 0};
    ico.insert(ico.end(), icon.Entry.begin(), icon.Entry.begin() + 8);
    const auto size = static_cast<std::uint32_t>(icon.Data.size());
    constexpr std::uint32_t offset = 6 + 16;
    for (const std::uint32_t value : {size, offset})
        for (int shift = 0; shift < 32; shift += 8)
            ico.push_back(static_cast<std::uint8_t>(value >> shift));
    ico.insert(ico.end(), icon.Data.begin(), icon.Data.end());
    return ico;
}

bool Decode(const std::vector<TIconCandidate>& candidates, TSysUtils::TBitmap& bitmap) {
    const auto icon = Nearest(candidates);
    if (!icon) return false;
    // Large images are often stored as whole PNG files, which icon decoders may not take.
    static constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const bool png = icon->Data.size() > sizeof kPngSignature &&
                     std::equal(std::begin(kPngSignature), std::end(kPngSignature), icon->Data.begin());
    Platform::TBitmap decoded;
    if (!Platform::DecodeImage(png ? std::vector<std::uint8_t>(icon->Data.begin(), icon->Data.end())
                                   : SingleImageIco(*icon),
                               decoded))
        return false;
    bitmap = {decoded.Width, decoded.Height, std::move(decoded.Rgba)};
    return true;
}

// The first icon group of the executable, its images looked up by their IDs.
bool ExtractFromExecutable(const TPeImage& image, TSysUtils::TBitmap& bitmap) {
    const TResource* group = nullptr;
    for (const auto& resource : image.Resources()) {
        if (resource.Type == TResId(kRtGroupIcon) && resource.Data) {
            group = &resource;
            break;
        }
    }
    if (!group) return false;
    TBinaryReader reader(*group->Data);
    reader.Skip(4);
    const unsigned count = reader.U16();
    std::vector<TIconCandidate> candidates;
    for (unsigned i = 0; i < count && reader.Ok(); ++i) {
        const auto entry = reader.Bytes(12);
        const std::uint16_t id = reader.U16();
        if (!reader.Ok()) break;
        const TResource* data = image.FindAnyLanguage(kRtIcon, id);
        if (data && data->Data) candidates.push_back({entry, *data->Data});
    }
    return Decode(candidates, bitmap);
}

} // namespace

bool TSysUtils::ExtractExeIcon(const std::string& filePath, TBitmap& bitmap) {
    try {
        char magic[4] = {};
        {
            std::ifstream in(Abi::Utf8Path(filePath), std::ios::binary);
            if (!in || !in.read(magic, sizeof magic)) return false;
        }
        if (magic[0] == 'M' && magic[1] == 'Z')
            return ExtractFromExecutable(TPeImage::Load(filePath), bitmap);
        if (magic[0] == 0 && magic[1] == 0 && magic[2] == 1 && magic[3] == 0) {
            const auto ico = ReadIconFile(filePath, kMaxIconFileSize);
            std::vector<TIconCandidate> candidates;
            for (const auto& image : ReadIconImages(ico))
                candidates.push_back({image.GroupEntry, image.Data});
            return Decode(candidates, bitmap);
        }
        // Executables of this system keep no icon in the file.
        return false;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace Corvane::Shared
