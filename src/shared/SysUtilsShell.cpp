// System functions over the shell: the file manager, command output, window captions.
#include "shared/SysUtils.h"

namespace Corvane::Shared {

bool TSysUtils::ShellExplore(const std::string&) {
    return false;
}

std::string TSysUtils::GetDosOutput(const std::string&, const std::string&, bool) {
    return {};
}

void TSysUtils::GetWindowsCaptions(std::vector<std::string>& WindowsCaptionsList) {
    WindowsCaptionsList.clear();
}

} // namespace Corvane::Shared
