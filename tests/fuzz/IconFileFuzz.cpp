// ICO files as the icon change reads them: every image it finds lies inside the file.
#include <span>
#include <stdexcept>

#include "FuzzTarget.h"
#include "shared/IconFile.h"

using namespace Corvane::Shared;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> ico(data, size);
    try {
        for (const TIconImage& image : ReadIconImages(ico)) {
            Fuzz::Check(image.GroupEntry.size() == 12, "a group entry has 12 bytes");
            for (const auto& part : {image.GroupEntry, image.Data})
                Fuzz::Check(part.empty() || (part.data() >= data && part.data() + part.size() <= data + size),
                            "an image lies inside the file");
        }
    } catch (const std::runtime_error&) {
    }
    return 0;
}
