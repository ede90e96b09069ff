// Conversions between UTF-8 (the text of the code) and UTF-16 (the text of the platform edges).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace Corvane::Abi {

// Invalid UTF-8 sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Appends the UTF-8 form of one code point (U+FFFD for values that are not scalar values).
void AppendUtf8(std::string& out, char32_t codePoint);
// Whether the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// Paths and file streams built from a std::string read it in the system's narrow code page on
// Windows; ours are UTF-8, so every path goes through these two.
std::filesystem::path Utf8Path(std::string_view text);
std::string PathUtf8(const std::filesystem::path& path);

} // namespace Corvane::Abi
