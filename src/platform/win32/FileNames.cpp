// What Windows file systems accept as a path.
#include "platform/FileNames.h"

#include <string_view>

#include "platform/win32/Wide.h"

namespace Platform {

namespace {

constexpr size_t kNameMax = 255;       // UTF-16 units of one part
constexpr size_t kPathMax = MAX_PATH;  // with the terminating zero, unless extended
constexpr size_t kLongPathMax = 32767; // of a path in the \\?\ form

bool IsForbidden(wchar_t c) {
    return c < 32 || std::wstring_view(L"<>\"|?*:").find(c) != std::wstring_view::npos;
}

} // namespace

bool IsAcceptedPath(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) return false;
    const std::wstring wide = Win32::Widen(path);
    std::wstring_view rest = wide;
    const bool extended = rest.substr(0, 4) == L"\\\\?\\";
    if (wide.size() >= (extended ? kLongPathMax : kPathMax)) return false;
    if (extended) rest.remove_prefix(4);
    // A drive letter's colon is the only one allowed.
    if (rest.size() >= 2 && rest[1] == L':' && ((rest[0] | 0x20) >= L'a' && (rest[0] | 0x20) <= L'z'))
        rest.remove_prefix(2);
    while (!rest.empty()) {
        const size_t separator = rest.find_first_of(L"\\/");
        const std::wstring_view part = rest.substr(0, separator);
        if (part.size() > kNameMax) return false;
        for (const wchar_t c : part)
            if (IsForbidden(c)) return false;
        rest = separator == std::wstring_view::npos ? std::wstring_view() : rest.substr(separator + 1);
    }
    return true;
}

} // namespace Platform
