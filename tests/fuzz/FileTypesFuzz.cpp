// The file-type filter text of the file dialogs: every filter is one name and one mask.
#include <string>

#include "FuzzTarget.h"
#include "bridge/FileTypes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(Fuzz::Text(data, size));
    for (const auto& type : Corvane::Bridge::ParseFileTypes(text)) {
        for (const std::string* part : {&type.DisplayName, &type.FileMask})
            Fuzz::Check(part->find_first_of(";|") == std::string::npos, "a filter part holds no separator");
    }
    return 0;
}
