// The package file: a copy of the runtime with a ZIP archive appended after its image.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Corvane::Shared {

using TBytes = std::vector<std::uint8_t>;

using TOnProgressMax = std::function<void(void* sender, std::int64_t max)>;
using TOnProgressPos = std::function<void(void* sender, std::int64_t pos)>;

class TExeUtils {
public:
    // Works on the running executable; tests and the packager may name another file.
    TExeUtils();
    explicit TExeUtils(std::string exePath);

    TOnProgressMax OnProgressMax;
    TOnProgressPos OnProgressPos;

    // True exactly when L = F - S > 0.
    bool ExeHasAttachedStub() const;
    // Replaces the content of memoryStream with the L bytes of the archive. L = 0: error box
    // "This is not a valid Windows application" titled "Error", then the process ends with 0.
    // L < 0: memoryStream is left as it is. A file error throws std::system_error; a file that
    // ends before L bytes were read throws std::runtime_error.
    void GetZipFromExe(TBytes& memoryStream) const;
    // As GetZipFromExe, into a new (or emptied) file; L < 0 leaves that file empty.
    void ExtractZipFromExe(const std::string& zipPath) const;
    // Appends the whole file at zipPath to the existing file at exePath. Errors as above.
    void AppendZipToExe(const std::string& zipPath, const std::string& exePath) const;

    // Replaces the MAINICON icon group of the executable at exePath and all its images with the
    // images of the ICO file at icoPath, as icon 1..n and group MAINICON in language 1033. Throws
    // std::runtime_error: "Icon file is too large" (over 1 MiB), "Icon file is invalid",
    // "FindResource failed (1)" (no MAINICON), "BeginUpdateResource failed (1): ..." (not a PE
    // file, or one that already carries an archive), ... The executable is unchanged after an error.
    void ChangeExeIcon(const std::string& exePath, const std::string& icoPath) const;

    struct TExeInfoResult {
        bool Written = false;             // a new version block was stored
        std::vector<std::string> CutKeys; // values longer than their reserved space, cut to fit
    };
    // Fills the eleven values into the reserved space of the executable's version block (each
    // string table its translation list names) and stores the block as a new language-neutral
    // version resource beside the old one. A value longer than its reserved space is cut to it (255
    // characters for the blank fields, 7 for the version numbers of the runtime's block). A missing
    // file, or one without version information, is left alone (Written false). Throws
    // std::runtime_error when the file cannot be rewritten; it is then unchanged.
    TExeInfoResult UpdateExeInfo(const std::string& exePath, const std::string& companyName,
                                 const std::string& fileDescription, const std::string& fileVersion,
                                 const std::string& internalName, const std::string& legalCopyright,
                                 const std::string& legalTrademarks, const std::string& originalFileName,
                                 const std::string& programId, const std::string& productName,
                                 const std::string& productVersion, const std::string& comments) const;

    // The keys of UpdateExeInfo's values, in the order of its arguments.
    static constexpr const char* kExeInfoKeys[11] = {"CompanyName",      "FileDescription", "FileVersion",
                                                     "InternalName",     "LegalCopyright",  "LegalTrademarks",
                                                     "OriginalFileName", "ProgramID",       "ProductName",
                                                     "ProductVersion",   "Comments"};
    static constexpr std::uint64_t kMaxIconFileSize = 1048576;

    // L for the executable this object works on; negative when the file is missing or shorter than
    // its image, 0 when nothing follows the image or its headers cannot be read.
    std::int64_t GetArchiveLength() const;
    const std::string& ExePath() const { return FExePath; }

    static constexpr std::size_t kBlockSize = 10240;

private:
    std::int64_t GetExeFileSize() const;
    static std::int64_t GetFileSizeByPath(const std::string& path);
    // S; nothing when the headers cannot be read.
    std::optional<std::uint64_t> GetAttachedStubOffset() const;
    // L, with S in start.
    std::int64_t GetArchiveLength(std::uint64_t& start) const;

    std::string FExePath;
};

} // namespace Corvane::Shared
