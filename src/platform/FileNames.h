// What the file system accepts as a path.
#pragma once

#include <string>

namespace Platform {

// Whether the file system can take path as a file's path: it is not empty, holds no character the
// system forbids, and neither it nor any of its parts is longer than the file system allows.
bool IsAcceptedPath(const std::string& path);

} // namespace Platform
