// Text in a Windows code page converted to UTF-8, whole or in pieces.
#include "platform/win32/CodePages.h"

#include "platform/win32/Wide.h"

namespace Platform::Win32 {

std::string CodePageToUtf8(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    if (codePage == CP_UTF8) {
        // Already the target form; the round trip only replaces what is not UTF-8.
        return Narrow(Widen(bytes));
    }
    const int size =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
    return Narrow(wide);
}

size_t UnfinishedTail(UINT codePage, std::string_view bytes) {
    if (codePage == CP_UTF8) {
        // Look back over at most three continuation bytes for the lead byte.
        for (size_t back = 1; back <= 4 && back <= bytes.size(); ++back) {
            const auto c = static_cast<unsigned char>(bytes[bytes.size() - back]);
            if ((c & 0xC0) == 0x80) continue;
            const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            return length > back ? back : 0;
        }
        return 0;
    }
    CPINFO info{};
    if (!GetCPInfo(codePage, &info) || info.MaxCharSize < 2) return 0;
    // Lead bytes decide where characters start, so only a walk from the front is sure of them.
    size_t i = 0;
    while (i < bytes.size()) {
        if (!IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[i]))) {
            ++i;
        } else if (i + 1 == bytes.size()) {
            return 1;
        } else {
            i += 2;
        }
    }
    return 0;
}

} // namespace Platform::Win32
