// Writes the package archive: stored entries under traditional PKWARE encryption, sizes and CRC in
// data descriptors (flags 0x0009, version 20), '/' separators, folders as entries ending in '/'.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace Corvane::Shared {

class TZipWriter {
public:
    // Writes to the file at path (created or emptied). Throws std::system_error on file errors.
    TZipWriter(const std::string& path, std::string password);
    ~TZipWriter();
    TZipWriter(const TZipWriter&) = delete;
    TZipWriter& operator=(const TZipWriter&) = delete;

    // A folder entry; name ends with '/' (one is added if missing).
    void AddFolder(std::string name, std::int64_t modifiedUnixTime = 0);
    void AddData(const std::string& name, std::string_view data, std::int64_t modifiedUnixTime = 0);
    // Streams the file at sourcePath into the entry, in blocks; throws on read errors.
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
