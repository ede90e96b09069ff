// The filters of the file dialogs, read from the fileTypes text that a page passes.
#include "bridge/FileTypes.h"

#include "shared/StrUtils.h"

namespace Corvane::Bridge {

using namespace Corvane::Shared;

std::vector<Platform::TFileType> ParseFileTypes(const std::string& text) {
    std::vector<Platform::TFileType> types;
    for (const auto& entry : TStrUtils::ExplodeStrings(";", text)) {
        const TArrayStrings parts = TStrUtils::ExplodeStrings("|", entry);
        if (parts.size() == 2) types.push_back({parts[0], parts[1]});
    }
    return types;
}

} // namespace Corvane::Bridge
