// Writes the package archive: stored entries under traditional PKWARE encryption, sizes and CRC in
// data descriptors (flags 0x0009, version 20), '/' separators, folders as entries ending in '/'.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace Corvane::Shared {

class TZipWriter {
public:
    // No Zip64: the whole archive stays below 4 GiB and holds at most 65535 entries. An entry that
    // would pass either limit throws std::runtime_error and leaves the archive unfinished.
    static constexpr std::uint64_t kMaxArchiveSize = 0xFFFFFFFFu;
    static constexpr std::size_t kMaxEntries = 0xFFFF;

    // Writes to the file at path (created or emptied). Throws std::system_error on file errors.
    // An archive that is never finished stays as far as it was written: the caller removes it.
    TZipWriter(const std::string& path, std::string password);
    ~TZipWriter();
    TZipWriter(const TZipWriter&) = delete;
    TZipWriter& operator=(const TZipWriter&) = delete;

    // Called after every block of entry data, with BytesWritten().
    std::function<void(std::uint64_t)> OnProgress;

    // Entry times are Unix times stored as local DOS times; 0 stands for the current time.
    // Names are stored as given (no UTF-8 flag); an empty name, one longer than 65535 bytes or one
    // already in the archive throws std::runtime_error.
    // A folder entry; name ends with '/' (one is added if missing).
    void AddFolder(std::string name, std::int64_t modifiedUnixTime = 0);
    void AddData(const std::string& name, std::string_view data, std::int64_t modifiedUnixTime = 0);
    // Streams the file at sourcePath (symbolic links followed) into the entry, in blocks, with the
    // file's modification time. Read errors throw std::system_error naming sourcePath.
    void AddFile(const std::string& name, const std::string& sourcePath);
    // Writes the central directory and closes the file. Throws on write errors.
    void Finish();
    // Bytes written so far.
    std::uint64_t BytesWritten() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

} // namespace Corvane::Shared
