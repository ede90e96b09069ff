// Path limits of the file system that would hold the path.
#include "platform/FileNames.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string_view>

namespace Platform {

namespace {

// The limits of the nearest folder that exists on the way to path: the file system that would
// hold it. Defaults where the system gives none.
void LimitsFor(const std::string& path, long& nameMax, long& pathMax) {
    nameMax = NAME_MAX;
    pathMax = PATH_MAX;
    std::string folder = path.front() == '/' ? path : "./" + path;
    while (true) {
        const size_t slash = folder.find_last_of('/');
        folder = slash == 0 ? "/" : folder.substr(0, slash);
        if (access(folder.c_str(), F_OK) == 0) break;
        if (folder == "/" || folder == ".") return;
    }
    errno = 0;
    if (const long value = pathconf(folder.c_str(), _PC_NAME_MAX); value > 0) nameMax = value;
    if (const long value = pathconf(folder.c_str(), _PC_PATH_MAX); value > 0) pathMax = value;
}

} // namespace

bool IsAcceptedPath(const std::string& path) {
    // Only the zero byte cannot be part of a name; '/' separates the parts.
    if (path.empty() || path.find('\0') != std::string::npos) return false;
    long nameMax = 0, pathMax = 0;
    LimitsFor(path, nameMax, pathMax);
    // The limit counts the terminating zero.
    if (static_cast<long>(path.size()) >= pathMax) return false;
    std::string_view rest = path;
    while (!rest.empty()) {
        const size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        if (static_cast<long>(part.size()) > nameMax) return false;
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    }
    return true;
}

} // namespace Platform
