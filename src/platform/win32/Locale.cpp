// The user's locale on Windows: the ISO 639 name of the user's default locale, and the ANSI code
// page as the 8-bit character set.
#include "platform/Locale.h"

#include <cstdint>

#include "platform/win32/CodePages.h"
#include "platform/win32/Wide.h"

namespace Platform {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

UINT CodePageOf(void* converter) {
    return static_cast<UINT>(reinterpret_cast<std::uintptr_t>(converter));
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
    return Win32::CodePageToUtf8(GetACP(), bytes);
}

TLocaleTextDecoder::TLocaleTextDecoder(bool asciiReadsAsUtf8) {
    UINT codePage = GetACP();
    if (asciiReadsAsUtf8 && codePage == 20127) codePage = CP_UTF8; // US-ASCII
    FConverter = reinterpret_cast<void*>(static_cast<std::uintptr_t>(codePage));
}

TLocaleTextDecoder::~TLocaleTextDecoder() = default;

std::string TLocaleTextDecoder::Decode(std::string_view bytes) {
    std::string input = std::move(FPending);
    FPending.clear();
    input.append(bytes);
    const UINT codePage = CodePageOf(FConverter);
    const size_t tail = Win32::UnfinishedTail(codePage, input);
    FPending = input.substr(input.size() - tail);
    input.resize(input.size() - tail);
    return Win32::CodePageToUtf8(codePage, input);
}

std::string TLocaleTextDecoder::Finish() {
    std::string out = FPending.empty() ? "" : kReplacement;
    FPending.clear();
    return out;
}

} // namespace Platform
