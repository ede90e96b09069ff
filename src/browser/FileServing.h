// Where the content of a file:/// request comes from: the package archive, the executable's folder,
// or the path as written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Corvane::Shared {
class TZipReader;
}

namespace Corvane::Browser {

struct TServedFile {
    std::vector<std::uint8_t> Content;
    std::string MimeType;
    // The header text of the response.
    std::string Headers() const;
};

struct TFileSource {
    const Shared::TZipReader* ExeZip = nullptr;
    std::string AppDirName;
    std::string AppDirPath; // with a trailing separator
};

// The file that answers uri, or nothing when the request is to be left to the browser (not a
// file:/// URI, or found nowhere).
std::optional<TServedFile> ServeFileRequest(const std::string& uri, const TFileSource& source);

} // namespace Corvane::Browser
