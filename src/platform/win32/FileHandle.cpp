// Files through Win32 handles, opened with wide paths.
#include "platform/FileHandle.h"

#include <windows.h>

#include <algorithm>

#include "abi/Utf.h"

namespace Platform {

namespace {

HANDLE Handle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::wstring WidePath(const std::string& path) {
    const std::u16string wide = Corvane::Abi::Utf8ToUtf16(path);
    return std::wstring(wide.begin(), wide.end());
}

} // namespace

TFileHandle::~TFileHandle() {
    if (IsOpen()) CloseHandle(Handle(FHandle));
}

bool TFileHandle::IsOpen() const {
    return FHandle != -1;
}

bool TFileHandle::OpenRead(const std::string& path, int& error) {
    // Without backup semantics a folder fails to open, which is the refusal wanted.
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = static_cast<int>(GetLastError());
        return false;
    }
    FHandle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool TFileHandle::Create(const std::string& path, int& error) {
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = static_cast<int>(GetLastError());
        return false;
    }
    FHandle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool TFileHandle::Info(std::uint64_t& size, std::int64_t& modifiedUnixTime, int& error) const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(Handle(FHandle), &info)) {
        error = static_cast<int>(GetLastError());
        return false;
    }
    size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    // File times count 100 ns steps from 1601.
    constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;
    const std::uint64_t ticks = (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                info.ftLastWriteTime.dwLowDateTime;
    modifiedUnixTime = (static_cast<std::int64_t>(ticks) - static_cast<std::int64_t>(kUnixEpoch)) / 10000000;
    return true;
}

std::int64_t TFileHandle::Read(void* data, std::size_t size, int& error) {
    DWORD done = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(Handle(FHandle), data, wanted, &done, nullptr)) {
        error = static_cast<int>(GetLastError());
        return -1;
    }
    return done;
}

bool TFileHandle::WriteAll(const void* data, std::size_t size, int& error) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        DWORD done = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!WriteFile(Handle(FHandle), bytes, chunk, &done, nullptr)) {
            error = static_cast<int>(GetLastError());
            return false;
        }
        bytes += done;
        size -= done;
    }
    return true;
}

bool TFileHandle::Close(int& error) {
    const HANDLE file = Handle(FHandle);
    FHandle = -1;
    if (CloseHandle(file)) return true;
    error = static_cast<int>(GetLastError());
    return false;
}

bool LocalTime(std::time_t t, std::tm& local) {
    return localtime_s(&local, &t) == 0;
}

} // namespace Platform
