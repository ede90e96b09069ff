// The package archive: opened from any bytes, and every entry extracted with the package's password.
#include <vector>

#include "FuzzTarget.h"
#include "shared/PackageFormat.h"
#include "shared/ZipReader.h"

using namespace Corvane::Shared;

namespace {

// Deflate can inflate a thousandfold: an entry past this is refused rather than read.
constexpr std::uint64_t kMaxEntrySize = 64u << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TZipReader zip;
    zip.SetPassword(kArchivePassword);
    try {
        zip.Open(data, size);
    } catch (const EZipError&) {
        return 0;
    }
    for (std::int64_t i = 0; i < zip.EntryCount(); ++i) {
        const std::string name = zip.EntryName(i);
        Fuzz::Check(zip.FindFile(name) >= 0, "every listed entry is found by its name");
        std::vector<std::uint8_t> content = {'>'};
        try {
            const bool whole = zip.ExtractToStream(name, content, kMaxEntrySize);
            Fuzz::Check(whole || content.size() == 1, "a failed entry leaves nothing behind");
        } catch (const EZipError&) {
            Fuzz::Check(content.size() == 1, "a refused entry leaves nothing behind");
        }
    }
    return 0;
}
