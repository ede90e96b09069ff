// Simple case mapping of single code points for the Latin, Greek and Cyrillic letters, the same on
// every system and in every locale.
#pragma once

#include <string>
#include <string_view>

namespace Corvane::Shared {

// ASCII letters only: for names that must match the same way in every locale (archive entries,
// extensions, style names).
inline char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
inline std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = LowerAscii(c);
    return out;
}

char32_t LowerCodePoint(char32_t c);
char32_t UpperCodePoint(char32_t c);

} // namespace Corvane::Shared
