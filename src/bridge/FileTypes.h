// The filters of the file dialogs, read from the fileTypes text that a page passes.
#pragma once

#include <string>
#include <vector>

#include "platform/FileDialogs.h"

namespace Corvane::Bridge {

// "Name|mask;Name|mask": one filter per entry that splits into exactly two parts at "|", in order;
// other entries are skipped.
std::vector<Platform::TFileType> ParseFileTypes(const std::string& text);

} // namespace Corvane::Bridge
