// Page paths and the text file format.
#include "bridge/AppPath.h"

#include "platform/Folders.h"

namespace Corvane::Bridge {

std::string ResolveAppPath(const std::string& Path, const std::string& AppFolder) {
    const bool drive = Path.size() >= 2 && Path[1] == ':';
    const bool unc = Path.size() >= 2 && Path[0] == '\\' && Path[1] == '\\';
    // Where '/' is the separator a path from the root is absolute too.
    const bool rooted = Platform::PathDelim == '/' && !Path.empty() && Path[0] == '/';
    if (drive || unc || rooted) return Path;
    std::string resolved = AppFolder;
    for (const char c : Path)
        resolved += (c == '/' || c == '\\') ? Platform::PathDelim : c;
    return resolved;
}

std::string TextFileBytes(const std::string& Contents) {
    std::string bytes = "\xEF\xBB\xBF";
    bytes.reserve(Contents.size() + Contents.size() / 16 + 8);
    size_t start = 0;
    while (start < Contents.size()) {
        const size_t end = Contents.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            bytes.append(Contents, start, std::string::npos);
            bytes += "\r\n";
            break;
        }
        bytes.append(Contents, start, end - start);
        bytes += "\r\n";
        start =
            end + ((Contents[end] == '\r' && end + 1 < Contents.size() && Contents[end + 1] == '\n') ? 2 : 1);
    }
    return bytes;
}

} // namespace Corvane::Bridge
