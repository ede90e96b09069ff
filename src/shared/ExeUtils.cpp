// The package file: where its archive starts, copying it out, and appending one.
#include "shared/ExeUtils.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "abi/Utf.h"
#include "platform/Dialogs.h"
#include "platform/Process.h"
#include "shared/ExeImage.h"

namespace Corvane::Shared {

namespace {

// The system's error for what just failed on path; errno is what the stream's C library left.
[[noreturn]] void ThrowFileError(const std::string& what, const std::string& path) {
    const int code = errno != 0 ? errno : EIO;
    throw std::system_error(code, std::generic_category(), what + " \"" + path + "\"");
}

std::ifstream OpenForReading(const std::string& path) {
    errno = 0;
    std::ifstream file(Abi::Utf8Path(path), std::ios::binary);
    if (!file) ThrowFileError("Cannot open", path);
    return file;
}

// Reads the next block; no data before the expected end means the file shrank under us.
std::size_t ReadBlock(std::ifstream& file, char* buffer, std::uint64_t left, const std::string& path) {
    const auto want = static_cast<std::streamsize>(std::min<std::uint64_t>(TExeUtils::kBlockSize, left));
    errno = 0;
    file.read(buffer, want);
    const std::streamsize got = file.gcount();
    if (got <= 0) {
        if (file.bad()) ThrowFileError("Cannot read", path);
        throw std::runtime_error("The file \"" + path + "\" was truncated while it was being read");
    }
    return static_cast<std::size_t>(got);
}

void WriteBlock(std::ofstream& file, const char* data, std::size_t count, const std::string& path) {
    errno = 0;
    file.write(data, static_cast<std::streamsize>(count));
    if (!file) ThrowFileError("Cannot write", path);
}

// Copies total bytes from the stream in blocks through one buffer, raising the progress events of
// owner: the maximum once before, the running total after every block.
template <typename TSink>
void CopyBlocks(const TExeUtils& owner, std::ifstream& from, const std::string& fromPath, std::uint64_t total,
                TSink&& sink) {
    auto* sender = const_cast<TExeUtils*>(&owner);
    if (owner.OnProgressMax) owner.OnProgressMax(sender, static_cast<std::int64_t>(total));
    char buffer[TExeUtils::kBlockSize];
    std::uint64_t copied = 0;
    while (copied < total) {
        const std::size_t got = ReadBlock(from, buffer, total - copied, fromPath);
        sink(buffer, got);
        copied += got;
        if (owner.OnProgressPos) owner.OnProgressPos(sender, static_cast<std::int64_t>(copied));
    }
}

} // namespace

TExeUtils::TExeUtils() : FExePath(Platform::GetExecutablePath()) {}

TExeUtils::TExeUtils(std::string exePath) : FExePath(std::move(exePath)) {}

std::int64_t TExeUtils::GetFileSizeByPath(const std::string& path) {
    if (path.empty()) return -1;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(Abi::Utf8Path(path), error);
    if (error || size > static_cast<std::uintmax_t>(std::numeric_limits<std::int64_t>::max())) return -1;
    return static_cast<std::int64_t>(size);
}

std::int64_t TExeUtils::GetExeFileSize() const {
    return GetFileSizeByPath(FExePath);
}

std::optional<std::uint64_t> TExeUtils::GetAttachedStubOffset() const {
    const auto info = ReadExeImageInfo(FExePath);
    if (!info) return std::nullopt;
    return info->ImageEnd;
}

std::int64_t TExeUtils::GetArchiveLength(std::uint64_t& start) const {
    start = 0;
    const std::int64_t fileSize = GetExeFileSize();
    if (fileSize < 0) return -1;
    // Headers that cannot be read describe no image to append to: no archive, and a copy attempt
    // reports the file as not a valid application.
    const auto imageEnd = GetAttachedStubOffset();
    if (!imageEnd) return 0;
    start = *imageEnd;
    const auto size = static_cast<std::uint64_t>(fileSize);
    if (start <= size) return static_cast<std::int64_t>(size - start);
    const std::uint64_t missing = start - size;
    return missing > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
               ? std::numeric_limits<std::int64_t>::min()
               : -static_cast<std::int64_t>(missing);
}

std::int64_t TExeUtils::GetArchiveLength() const {
    std::uint64_t start = 0;
    return GetArchiveLength(start);
}

bool TExeUtils::ExeHasAttachedStub() const {
    return GetArchiveLength() > 0;
}

namespace {

[[noreturn]] void RefuseInvalidApplication() {
    Platform::ShowErrorBox("This is not a valid Windows application", "Error");
    Platform::ExitProcess(0);
}

} // namespace

void TExeUtils::GetZipFromExe(TBytes& memoryStream) const {
    std::uint64_t start = 0;
    const std::int64_t length = GetArchiveLength(start);
    if (length == 0) RefuseInvalidApplication();
    if (length < 0) return;

    const std::uint64_t total = static_cast<std::uint64_t>(length);
    memoryStream.clear();
    memoryStream.reserve(static_cast<std::size_t>(total));
    std::ifstream exe = OpenForReading(FExePath);
    exe.seekg(static_cast<std::streamoff>(start));
    CopyBlocks(*this, exe, FExePath, total, [&](const char* data, std::size_t count) {
        memoryStream.insert(memoryStream.end(), data, data + count);
    });
}

void TExeUtils::ExtractZipFromExe(const std::string& zipPath) const {
    std::uint64_t start = 0;
    const std::int64_t length = GetArchiveLength(start);
    if (length == 0) RefuseInvalidApplication();

    errno = 0;
    std::ofstream zip(Abi::Utf8Path(zipPath), std::ios::binary | std::ios::trunc);
    if (!zip) ThrowFileError("Cannot create", zipPath);
    if (length < 0) return;

    const std::uint64_t total = static_cast<std::uint64_t>(length);
    std::ifstream exe = OpenForReading(FExePath);
    exe.seekg(static_cast<std::streamoff>(start));
    CopyBlocks(*this, exe, FExePath, total,
               [&](const char* data, std::size_t count) { WriteBlock(zip, data, count, zipPath); });
    errno = 0;
    zip.close();
    if (!zip) ThrowFileError("Cannot write", zipPath);
}

void TExeUtils::AppendZipToExe(const std::string& zipPath, const std::string& exePath) const {
    std::ifstream zip = OpenForReading(zipPath);
    // in | out opens an existing file only, which the executable must be.
    errno = 0;
    std::ofstream exe(Abi::Utf8Path(exePath), std::ios::binary | std::ios::in | std::ios::out);
    if (!exe) ThrowFileError("Cannot open", exePath);
    exe.seekp(0, std::ios::end);

    zip.seekg(0, std::ios::end);
    const std::streamoff zipEnd = zip.tellg();
    if (zipEnd < 0) ThrowFileError("Cannot read", zipPath);
    zip.seekg(0);
    const auto total = static_cast<std::uint64_t>(zipEnd);
    CopyBlocks(*this, zip, zipPath, total,
               [&](const char* data, std::size_t count) { WriteBlock(exe, data, count, exePath); });
    errno = 0;
    exe.close();
    if (!exe) ThrowFileError("Cannot write", exePath);
}

} // namespace Corvane::Shared
