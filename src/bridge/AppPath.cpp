// Page paths and the text file format.
#include "bridge/AppPath.h"

#include "platform/Folders.h"

namespace Corvane::Bridge {

std::string ResolveAppPath(const std::string& path, const std::string& appFolder) {
    const bool drive = path.size() >= 2 && path[1] == ':';
    const bool unc = path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
    // Where '/' is the separator a path from the root is absolute too.
    const bool rooted = Platform::PathDelim == '/' && !path.empty() && path[0] == '/';
    if (drive || unc || rooted) return path;
    std::string resolved = appFolder;
    for (const char c : path)
        resolved += (c == '/' || c == '\\') ? Platform::PathDelim : c;
    return resolved;
}

std::string TextFileBytes(const std::string& contents) {
    std::string bytes = "\xEF\xBB\xBF";
    bytes.reserve(contents.size() + contents.size() / 16 + 8);
    size_t start = 0;
    while (start < contents.size()) {
        const size_t end = contents.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            bytes.append(contents, start, std::string::npos);
            bytes += "\r\n";
            break;
        }
        bytes.append(contents, start, end - start);
        bytes += "\r\n";
        start =
            end + ((contents[end] == '\r' && end + 1 < contents.size() && contents[end + 1] == '\n') ? 2 : 1);
    }
    return bytes;
}

} // namespace Corvane::Bridge
