// Answers file:/// requests: archive entry first, then beside the executable, then the path as written.
#include "browser/FileServing.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "abi/CaseMap.h"
#include "abi/Utf.h"
#include "shared/StrUtils.h"
#include "shared/ZipReader.h"

namespace Corvane::Browser {

using namespace Corvane::Abi;
using namespace Corvane::Shared;

namespace {

constexpr std::string_view kFilePrefix = "file:///";

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& content) {
    std::error_code error;
    const std::filesystem::path file = Utf8Path(path);
    if (!std::filesystem::is_regular_file(file, error)) return false;
    const auto size = std::filesystem::file_size(file, error);
    if (error) return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    content.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(content.data()), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

} // namespace

std::string TServedFile::Headers() const {
    return "Content-Type: " + MimeType + "; charset=utf-8";
}

std::optional<TServedFile> ServeFileRequest(const std::string& uri, const TFileSource& source) {
    if (!StartsWithNoCase(uri, kFilePrefix)) return std::nullopt;
    // A prefix in other letter case stays in the path, so such a request is found nowhere.
    const std::string written = ReplaceAll(uri, kFilePrefix, "");
    // Only %20 is decoded: the archive's names are matched as the page wrote them.
    const std::string path = ReplaceAll(written, "%20", " ");
    TServedFile file;
    // The archive is searched once: extracting a missing entry reads nothing.
    const bool found =
        (!source.AppDirName.empty() && source.ExeZip &&
         source.ExeZip->ExtractToStream(source.AppDirName + "/" + path, file.Content)) ||
        ReadWholeFile(source.AppDirPath + path, file.Content) ||
        // The path as written, undecoded: file:///home/me/pic.png names /home/me/pic.png, and
        // file:///C:/pic.png names C:/pic.png.
        ReadWholeFile(written.size() >= 2 && written[1] == ':' ? written : "/" + written, file.Content);
    if (!found) return std::nullopt;
    file.MimeType = TStrUtils::GetFileMIMEType(written);
    return file;
}

} // namespace Corvane::Browser
