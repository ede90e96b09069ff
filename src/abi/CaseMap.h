// Simple case mapping of single code points for the Latin, Greek and Cyrillic letters, the same on
// every system and in every locale.
#pragma once

#include <string>
#include <string_view>

namespace Corvane::Abi {

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

// text begins with prefix, ASCII letters compared without case.
inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return false;
    return true;
}

char32_t LowerCodePoint(char32_t c);
char32_t UpperCodePoint(char32_t c);

} // namespace Corvane::Abi
