// The text of the settings file: decoded by its byte-order mark, else from the 8-bit code page.
#include "shared/ProjectIni.h"

#include <string>

#include "abi/Utf.h"
#include "platform/Locale.h"

namespace Corvane::Shared {

using namespace Corvane::Abi;

namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) { // an odd trailing byte is dropped
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return Abi::Utf16ToUtf8(units);
}

// Malformed sequences become U+FFFD, so the rest of the code only ever sees valid UTF-8; valid
// text is kept byte for byte.
std::string ValidUtf8(std::string text) {
    if (Abi::IsValidUtf8(text)) return text;
    return Abi::Utf16ToUtf8(Abi::Utf8ToUtf16(text));
}

} // namespace

std::string DecodeTextFile(std::string_view bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return ValidUtf8(std::string(bytes.substr(3)));
    if (StartsWith(bytes, "\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
    if (StartsWith(bytes, "\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
    // The system's converter may pass bytes through that are no UTF-8 (lead bytes F5-F7, say).
    return ValidUtf8(Platform::AnsiToUtf8(bytes));
}

} // namespace Corvane::Shared
