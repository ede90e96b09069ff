// System functions over files and folders: copying, listing, sizes, path forms, byte order marks.
#include "shared/SysUtils.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "abi/Utf.h"
#include "platform/FileNames.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Shortcuts.h"

namespace fs = std::filesystem;
using Corvane::Abi::PathUtf8;
using Corvane::Abi::Utf8Path;

namespace Corvane::Shared {

namespace {

bool HasWildcard(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

bool MatchesGlob(std::string_view name, std::string_view mask) {
    // Iterative '*' matching: on a mismatch, let the last star swallow one more character.
    size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || mask[m] == name[n])) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

// Masks keep their old meaning: a final ".*" also takes names without an extension, so "*.*" is
// every name.
bool MatchesMask(const std::string& name, const std::string& mask) {
    if (mask.empty()) return true;
    if (MatchesGlob(name, mask)) return true;
    return mask.size() >= 2 && mask.ends_with(".*") && name.find('.') == std::string::npos &&
           MatchesGlob(name, std::string_view(mask).substr(0, mask.size() - 2));
}

// Windows takes '/' as a separator too.
bool IsSeparator(char c) {
    return c == Platform::PathDelim || c == '/';
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || IsSeparator(folder.back())) return folder + name;
    return folder + Platform::PathDelim + name;
}

// A path without its trailing separators, so that its last part is a name.
fs::path WithoutTrailingSeparator(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && IsSeparator(trimmed.back()))
        trimmed.pop_back();
    return Utf8Path(trimmed);
}

bool CopyMatchingFiles(const fs::path& pattern, const fs::path& to) {
    std::error_code error;
    const fs::path folder = pattern.has_parent_path() ? pattern.parent_path() : fs::path(".");
    const std::string mask = PathUtf8(pattern.filename());
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file(error) && MatchesMask(PathUtf8(it->path().filename()), mask))
            files.push_back(it->path());
    if (error || files.empty()) return false;
    fs::create_directories(to, error);
    if (!fs::is_directory(to, error)) return false;
    bool copied = true;
    for (const auto& file : files)
        copied = Platform::CopyFileReplacing(PathUtf8(file), PathUtf8(to / file.filename())) && copied;
    return copied;
}

// Whether inner is folder itself or lies below it.
bool IsWithin(const fs::path& inner, const fs::path& folder) {
    std::error_code error;
    const fs::path a = fs::weakly_canonical(inner, error);
    const fs::path b = fs::weakly_canonical(folder, error);
    if (error) return false;
    const auto [end, ignored] = std::mismatch(b.begin(), b.end(), a.begin(), a.end());
    return end == b.end();
}

bool CopyItem(const std::string& fromPath, const std::string& toPath) {
    if (fromPath.empty() || toPath.empty()) return false;
    const fs::path from = WithoutTrailingSeparator(fromPath);
    // A mask copies only files; a folder named in full is copied with everything below it.
    if (HasWildcard(PathUtf8(from.filename())))
        return CopyMatchingFiles(from, WithoutTrailingSeparator(toPath));

    std::error_code error;
    const fs::file_status source = fs::status(from, error);
    if (error || !fs::exists(source)) return false;
    const fs::path to = fs::is_directory(Utf8Path(toPath), error) ? Utf8Path(toPath) / from.filename()
                                                                  : WithoutTrailingSeparator(toPath);
    if (to.has_parent_path()) fs::create_directories(to.parent_path(), error);
    if (fs::is_directory(source)) {
        // A copy into the folder itself would never end.
        if (IsWithin(to, from)) return false;
        fs::copy(from, to,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing |
                     fs::copy_options::copy_symlinks,
                 error);
        return !error;
    }
    return Platform::CopyFileReplacing(PathUtf8(from), PathUtf8(to));
}

} // namespace

bool TSysUtils::CopyFile(const std::string& fromPath, const std::string& toPath) {
    return CopyItem(fromPath, toPath);
}

bool TSysUtils::CopyDirectory(const std::string& fromDirPath, const std::string& toDirPath) {
    return CopyItem(fromDirPath, toDirPath);
}

void TSysUtils::GetDirectoryFiles(const std::string& rootDir, bool includeDirs,
                                  std::vector<std::string>& fileList, const std::string& fileMask) {
    fileList.clear();
    std::error_code error;
    std::vector<std::string> folders, files;
    for (fs::directory_iterator it(Utf8Path(rootDir), error), end; !error && it != end; it.increment(error)) {
        const std::string name = PathUtf8(it->path().filename());
        std::error_code kindError;
        if (it->is_directory(kindError)) {
            if (includeDirs) folders.push_back(name);
        } else if (MatchesMask(name, fileMask)) {
            files.push_back(name);
        }
    }
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    for (const auto& name : folders)
        fileList.push_back(JoinPath(rootDir, name));
    for (const auto& name : files)
        fileList.push_back(JoinPath(rootDir, name));
}

std::int64_t TSysUtils::GetSizeOfFile(const std::string& filePath) {
    std::error_code error;
    const fs::file_status status = fs::status(Utf8Path(filePath), error);
    if (error || !fs::exists(status) || fs::is_directory(status)) return -1;
    const auto size = fs::file_size(Utf8Path(filePath), error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

std::int64_t TSysUtils::GetSizeOfDir(const std::string& dirPath, bool includeSubdirs) {
    std::int64_t total = 0;
    std::error_code error;
    if (!includeSubdirs) {
        std::vector<std::string> files;
        GetDirectoryFiles(dirPath, false, files, "*.*");
        for (const auto& file : files)
            total += std::max<std::int64_t>(GetSizeOfFile(file), 0);
        return total;
    }
    // Links to folders are not followed: they could lead back up the tree.
    for (fs::recursive_directory_iterator
             it(Utf8Path(dirPath), fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        std::error_code kindError;
        if (it->is_regular_file(kindError))
            total += std::max<std::int64_t>(GetSizeOfFile(PathUtf8(it->path())), 0);
    }
    return total;
}

int TSysUtils::GetSubdirectoriesCount(const std::string& dirPath) {
    int count = 0;
    std::error_code error;
    for (fs::directory_iterator it(Utf8Path(dirPath), error), end; !error && it != end; it.increment(error)) {
        std::error_code kindError;
        if (it->is_directory(kindError)) ++count;
    }
    return count;
}

std::string TSysUtils::GetParentDirPath(const std::string& path) {
    std::error_code error;
    const fs::path full = fs::absolute(Utf8Path(path.empty() ? "." : path), error);
    if (error) return {};
    std::string parent = PathUtf8((full / "..").lexically_normal());
    if (parent.empty() || parent.back() != Platform::PathDelim) parent += Platform::PathDelim;
    return parent;
}

std::string TSysUtils::ExpandFileNameRelBaseDir(const std::string& fileName, const std::string& baseDir) {
    // A path with a root, a drive or both is kept apart from the base.
    const bool relative = !Utf8Path(fileName).has_root_path();
    const std::string joined = relative ? JoinPath(baseDir, fileName) : fileName;
    return PathUtf8(Utf8Path(joined).lexically_normal());
}

bool TSysUtils::FilesHaveSameDateTime(const std::string& file1Path, const std::string& file2Path) {
    // A missing file answers false rather than raising.
    std::error_code error1, error2;
    const auto time1 = fs::last_write_time(Utf8Path(file1Path), error1);
    const auto time2 = fs::last_write_time(Utf8Path(file2Path), error2);
    return !error1 && !error2 && time1 == time2;
}

bool TSysUtils::IsValidFilePath(const std::string& fileName) {
    return Platform::IsAcceptedPath(fileName);
}

bool TSysUtils::RemoveUTFBoomFromFile(const std::string& filePath) {
    std::string content;
    try {
        // The stream library reports a folder's read error by throwing.
        std::ifstream in(Utf8Path(filePath), std::ios::binary);
        if (!in) return false;
        content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) return false;
    } catch (const std::exception&) {
        return false;
    }
    if (!content.starts_with("\xEF\xBB\xBF")) return true;
    int error = 0;
    return Platform::WriteFileReplacing(filePath, std::string_view(content).substr(3), error);
}

std::string TSysUtils::FormatByteSize(std::int64_t bytes) {
    struct TUnit {
        std::int64_t Divisor;
        const char* Name;
    };
    static constexpr TUnit kUnits[] = {{1073741824, " GB"}, {1048576, " MB"}, {1024, " KB"}};
    for (const auto& unit : kUnits) {
        if (bytes < unit.Divisor) continue;
        // Hundredths, rounded half up, in integers so that no size loses precision.
        const std::int64_t whole = bytes / unit.Divisor, rest = bytes % unit.Divisor;
        const std::int64_t hundredths = whole * 100 + (rest * 100 + unit.Divisor / 2) / unit.Divisor;
        std::string text = std::to_string(hundredths / 100);
        if (const std::int64_t decimals = hundredths % 100; decimals != 0) {
            text += '.';
            text += static_cast<char>('0' + decimals / 10);
            if (decimals % 10 != 0) text += static_cast<char>('0' + decimals % 10);
        }
        return text + unit.Name;
    }
    // Zero reads "0 bytes", not " bytes" as the bare digit pattern would print it.
    return std::to_string(bytes) + " bytes";
}

std::string TSysUtils::GetLnkFilePath(const std::string& lnkFilePath) {
    return Platform::ShortcutTarget(lnkFilePath);
}

} // namespace Corvane::Shared
