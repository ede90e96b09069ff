// UTF-8 text of the platform interface to and from the UTF-16 text of the wide Win32 calls.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace Platform::Win32 {

// Invalid UTF-8 becomes U+FFFD, as the system converts it.
inline std::wstring Widen(std::string_view text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

// Unpaired surrogates become U+FFFD.
inline std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size, nullptr,
                        nullptr);
    return narrow;
}

// A folder path with exactly one backslash appended when it has none at its end.
inline std::string WithBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

} // namespace Platform::Win32
