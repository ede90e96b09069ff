// The user's locale on Windows: the ISO 639 name of the user's default locale, and the ANSI code
// page as the 8-bit character set.
#include "platform/Locale.h"

#include <cstdint>

#include "platform/win32/Wide.h"

namespace Platform {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

UINT CodePageOf(void* converter) {
    return static_cast<UINT>(reinterpret_cast<std::uintptr_t>(converter));
}

// Bytes of text in codePage converted to UTF-8. Each byte that starts no character of the code
// page becomes U+FFFD, as the system converts it.
std::string Convert(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    if (codePage == CP_UTF8) {
        // Already the target form; the round trip only replaces what is not UTF-8.
        return Win32::Narrow(Win32::Widen(bytes));
    }
    const int size =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
    return Win32::Narrow(wide);
}

// How many bytes at the end of bytes begin a character that is not complete yet.
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

} // namespace

std::string UserLanguageName() {
    wchar_t name[16] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, name, 16) <= 1) return {};
    std::string language = Win32::Narrow(name);
    for (char& c : language)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c | 0x20);
    return language;
}

std::string AnsiToUtf8(std::string_view bytes) {
    return Convert(GetACP(), bytes);
}

TLocaleTextDecoder::TLocaleTextDecoder(bool AsciiReadsAsUtf8) {
    UINT codePage = GetACP();
    if (AsciiReadsAsUtf8 && codePage == 20127) codePage = CP_UTF8; // US-ASCII
    FConverter = reinterpret_cast<void*>(static_cast<std::uintptr_t>(codePage));
}

TLocaleTextDecoder::~TLocaleTextDecoder() = default;

std::string TLocaleTextDecoder::Decode(std::string_view bytes) {
    std::string input = std::move(FPending);
    FPending.clear();
    input.append(bytes);
    const UINT codePage = CodePageOf(FConverter);
    const size_t tail = UnfinishedTail(codePage, input);
    FPending = input.substr(input.size() - tail);
    input.resize(input.size() - tail);
    return Convert(codePage, input);
}

std::string TLocaleTextDecoder::Finish() {
    std::string out = FPending.empty() ? "" : kReplacement;
    FPending.clear();
    return out;
}

} // namespace Platform
