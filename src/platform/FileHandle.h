// Files read and written block by block through the system's own handles. Failures give the
// system's error code (errno on Linux, GetLastError on Windows), for std::system_category.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

namespace Platform {

class TFileHandle {
public:
    TFileHandle() = default;
    ~TFileHandle();
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    // Opens an existing file for reading (links followed); a folder is refused.
    bool OpenRead(const std::string& path, int& error);
    // Opens the file for writing, created or emptied.
    bool Create(const std::string& path, int& error);
    bool IsOpen() const;

    // Size in bytes and time of the last change in seconds since 1970 (UTC).
    bool Info(std::uint64_t& size, std::int64_t& modifiedUnixTime, int& error) const;
    // Reads up to size bytes: how many were read, 0 at the end of the file, -1 on failure.
    std::int64_t Read(void* data, std::size_t size, int& error);
    // Writes all bytes or fails.
    bool WriteAll(const void* data, std::size_t size, int& error);
    // Closes the handle; a failure here can mean that written data was lost.
    bool Close(int& error);

private:
    std::intptr_t FHandle = -1;
};

// The local broken-down time of t, as file times are shown to the user; false when it has none.
bool LocalTime(std::time_t t, std::tm& local);

} // namespace Platform
