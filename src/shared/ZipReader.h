// Read access to a ZIP archive held in memory (the package's archive handle). One thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace Corvane::Shared {

class EZipError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TZipReader {
public:
    TZipReader();
    ~TZipReader();
    TZipReader(const TZipReader&) = delete;
    TZipReader& operator=(const TZipReader&) = delete;

    // Set before Open; applies to every entry.
    void SetPassword(const std::string& password);
    // Opens the archive on data, which must stay alive and unchanged while the reader is open.
    // Data that is not a ZIP archive (empty data included) throws EZipError with a readable text.
    // An archive already open is closed first.
    void Open(const std::uint8_t* data, std::size_t size);
    bool IsOpen() const;

    // Index of the entry with that name, -1 if none. ASCII letters match without case; every other
    // byte, '/' included, must match exactly; '\' is not translated.
    std::int64_t FindFile(const std::string& fileName) const;
    // Appends the plain content of the named entry to stream and returns whether it was read
    // whole. A missing entry, one the password does not open, or one whose data is damaged appends
    // nothing and raises nothing.
    bool ExtractToStream(const std::string& fileName, std::vector<std::uint8_t>& stream) const;
    // The same for an entry that may hold at most maxSize bytes: one that states or yields more
    // throws EZipError naming it and the limit, and appends nothing.
    bool ExtractToStream(const std::string& fileName, std::vector<std::uint8_t>& stream,
                         std::uint64_t maxSize) const;
    std::int64_t EntryCount() const;
    std::string EntryName(std::int64_t index) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

} // namespace Corvane::Shared
