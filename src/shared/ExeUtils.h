// The package file: a copy of the runtime with a ZIP archive appended after its image.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Corvane::Shared {

using TBytes = std::vector<std::uint8_t>;

using TOnProgressMax = std::function<void(void* Sender, std::int64_t AMax)>;
using TOnProgressPos = std::function<void(void* Sender, std::int64_t APos)>;

class TExeUtils {
public:
    // Works on the running executable; tests and the packager may name another file.
    TExeUtils();
    explicit TExeUtils(std::string exePath);

    TOnProgressMax OnProgressMax;
    TOnProgressPos OnProgressPos;

    // True exactly when L = F - S > 0.
    bool ExeHasAttachedStub() const;
    // Fills MemoryStream (from position 0) with the L bytes of the archive. L = 0: error box
    // "This is not a valid Windows application" titled "Error", then the process ends with 0.
    // L < 0: nothing is copied. A file error throws std::system_error.
    void GetZipFromExe(TBytes& MemoryStream) const;
    // As GetZipFromExe, into a new (or emptied) file.
    void ExtractZipFromExe(const std::string& ZipPath) const;
    // Appends the whole file at ZipPath to the existing file at ExePath.
    void AppendZipToExe(const std::string& ZipPath, const std::string& ExePath) const;

    // L for the executable this object works on (negative when it has none).
    std::int64_t GetArchiveLength() const;
    const std::string& ExePath() const { return FExePath; }

    static constexpr std::size_t kBlockSize = 10240;

private:
    std::int64_t GetExeFileSize() const;
    static std::int64_t GetFileSizeByPath(const std::string& path);
    std::uint64_t GetAttachedStubOffset() const;

    std::string FExePath;
};

} // namespace Corvane::Shared
