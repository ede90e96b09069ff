// How a page's path becomes a file-system path, and the text files that pages write.
#pragma once

#include <string>

namespace Corvane::Bridge {

// A path that starts with the path separator, or a drive ("C:...") or UNC ("\\...") form, is used
// unchanged; any other is taken under appFolder (which ends with the separator), with '\' turned
// into the platform's separator.
std::string ResolveAppPath(const std::string& path, const std::string& appFolder);

// The bytes of a text file holding contents: UTF-8 with byte-order mark, every line (cut at CR LF,
// lone CR and lone LF) followed by CR LF. A line break at the very end starts no further line.
std::string TextFileBytes(const std::string& contents);

} // namespace Corvane::Bridge
