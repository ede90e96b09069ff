// Checks of crv-pack's inputs before anything is written.
#pragma once

#include <string>

namespace Corvane::Pack {

enum class TKind { File, Folder };

// Throws a clear failure for an input that is missing, of the wrong kind or unreadable.
void CheckReadable(const std::string& what, const std::string& path, TKind kind);

} // namespace Corvane::Pack
