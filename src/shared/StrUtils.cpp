// String helpers: JSON quoting, list splitting and joining, MIME lookup, script quoting and more.
#include "shared/StrUtils.h"

#include "abi/CaseMap.h"
#include "abi/Utf.h"
#include "shared/MimeTable.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <random>

namespace Corvane::Shared {

using namespace Corvane::Abi;

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// Non-ASCII letters count as word characters; Latin-1 signs and general punctuation do not.
bool IsWordChar(char32_t c) {
    if (c < 0x80)
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    if (c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
    if (c >= 0x2000 && c <= 0x206F) return false;
    if (c >= 0x3000 && c <= 0x303F) return false;
    return true;
}

std::u32string ToCodePoints(std::string_view text) {
    const std::u16string units = Utf8ToUtf16(text);
    std::u32string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size()) {
            out += static_cast<char32_t>(0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            out += unit;
        }
    }
    return out;
}

// The byte length of the UTF-8 sequence that lead starts (1 for stray bytes).
size_t SequenceLength(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

std::mt19937& RandomEngine() {
    thread_local std::mt19937 engine = [] {
        try {
            std::random_device device;
            return std::mt19937(device());
        } catch (...) { // no entropy source: the clock still differs between runs
            return std::mt19937(static_cast<std::mt19937::result_type>(
                std::chrono::steady_clock::now().time_since_epoch().count()));
        }
    }();
    return engine;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The two-character escapes of JSON, the solidus included; nullptr for every other code unit.
const char* ShortEscape(char16_t unit) {
    switch (unit) {
    case u'"':
        return "\\\"";
    case u'\\':
        return "\\\\";
    case u'/':
        return "\\/";
    case u'\b':
        return "\\b";
    case u'\t':
        return "\\t";
    case u'\n':
        return "\\n";
    case u'\f':
        return "\\f";
    case u'\r':
        return "\\r";
    default:
        return nullptr;
    }
}

} // namespace

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    size_t start = 0;
    for (size_t found; (found = text.find(from, start)) != std::string::npos; start = found + from.size())
        out.append(text, start, found - start).append(to);
    out.append(text, start);
    return out;
}

std::string TStrUtils::StringToJsonString(const std::string& value) {
    std::string out = "\"";
    for (const char16_t unit : Utf8ToUtf16(value)) {
        if (const char* escape = ShortEscape(unit)) {
            out += escape;
        } else if (unit >= 0x20 && unit < 0x7F) {
            out += static_cast<char>(unit);
        } else {
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += kHexDigits[(unit >> shift) & 0xF];
        }
    }
    out += '"';
    return out;
}

std::string TStrUtils::GetFileMIMEType(const std::string& fileName) {
    const std::string ext = Mime::ExtractExtension(fileName);
    if (!ext.empty()) {
        const Mime::TMimeMap& table = Mime::ProcessMimeTable();
        if (const auto found = table.find(ext); found != table.end()) return found->second;
    }
    return "application/octet-stream";
}

TArrayStrings TStrUtils::ExplodeStrings(const std::string& separator, const std::string& value) {
    TArrayStrings pieces;
    size_t start = 0;
    if (!separator.empty()) {
        for (size_t found; (found = value.find(separator, start)) != std::string::npos;
             start = found + separator.size())
            pieces.push_back(value.substr(start, found - start));
    }
    pieces.push_back(value.substr(start));
    return pieces;
}

std::string TStrUtils::ImplodeStrings(const std::string& separator, const TArrayStrings& arrayString) {
    std::string out;
    for (size_t i = 0; i < arrayString.size(); ++i) {
        if (i > 0) out += separator;
        out += arrayString[i];
    }
    return out;
}

std::string TStrUtils::GetJavascriptArrayFromMultilineString(const std::string& value) {
    std::string out;
    for (const std::string& line : ExplodeStrings("\n", value)) {
        if (line.empty()) continue;
        size_t first = 0;
        size_t last = line.size();
        while (first < last && static_cast<unsigned char>(line[first]) <= 0x20)
            ++first;
        while (last > first && static_cast<unsigned char>(line[last - 1]) <= 0x20)
            --last;
        if (!out.empty()) out += ", ";
        out += '"' + QuoteJavascript(line.substr(first, last - first)) + '"';
    }
    return out;
}

std::string TStrUtils::GetRandomString(int length, const std::string& charSequence) {
    // Draw whole UTF-8 sequences, so a multi-byte character is never cut.
    std::vector<std::string_view> characters;
    const std::string_view sequence = charSequence;
    for (size_t pos = 0; pos < sequence.size();) {
        const size_t charLength =
            std::min(SequenceLength(static_cast<unsigned char>(sequence[pos])), sequence.size() - pos);
        characters.push_back(sequence.substr(pos, charLength));
        pos += charLength;
    }
    std::string out;
    if (characters.empty() || length <= 0) return out;
    std::uniform_int_distribution<size_t> pick(0, characters.size() - 1);
    for (int i = 0; i < length; ++i)
        out += characters[pick(RandomEngine())];
    return out;
}

std::string TStrUtils::GetControlRandomSuffix(const std::string& name) {
    return name + "-" + GetRandomString(10, "abcdefghijklmnopqrstuvwxyz1234567890");
}

std::vector<std::string> TStrUtils::GetUrlArguments(const std::string& url) {
    std::vector<std::string> lines;
    const size_t question = url.find('?');
    if (question == std::string::npos) return lines;
    const size_t hash = url.find('#', question);
    const std::string query =
        url.substr(question + 1, hash == std::string::npos ? std::string::npos : hash - question - 1);
    if (query.empty()) return lines;
    for (const std::string& raw : ExplodeStrings("&", query)) {
        std::string line;
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '+') {
                line += ' ';
            } else if (raw[i] == '%' && i + 2 < raw.size() && HexValue(raw[i + 1]) >= 0 &&
                       HexValue(raw[i + 2]) >= 0) {
                line += static_cast<char>(HexValue(raw[i + 1]) * 16 + HexValue(raw[i + 2]));
                i += 2;
            } else {
                line += raw[i];
            }
        }
        // Bytes that do not form UTF-8 become U+FFFD.
        lines.push_back(IsValidUtf8(line) ? line : Utf16ToUtf8(Utf8ToUtf16(line)));
    }
    return lines;
}

bool TStrUtils::SubStringExists(const std::string& source, const std::string& subString,
                                const TSearchOptions& searchOptions) {
    std::u32string text = ToCodePoints(source);
    std::u32string pattern = ToCodePoints(subString);
    if (pattern.empty() || pattern.size() > text.size()) return false;
    if (!searchOptions.MatchCase) {
        for (char32_t& c : text)
            c = UpperCodePoint(c);
        for (char32_t& c : pattern)
            c = UpperCodePoint(c);
    }
    const auto fits = [&](size_t at) {
        if (!searchOptions.WholeWord) return true;
        const size_t end = at + pattern.size();
        return (at == 0 || !IsWordChar(text[at - 1])) && (end == text.size() || !IsWordChar(text[end]));
    };
    if (searchOptions.Down) {
        for (size_t at = text.find(pattern); at != std::u32string::npos; at = text.find(pattern, at + 1))
            if (fits(at)) return true;
    } else {
        for (size_t at = text.rfind(pattern); at != std::u32string::npos; at = text.rfind(pattern, at - 1)) {
            if (fits(at)) return true;
            if (at == 0) break;
        }
    }
    return false;
}

std::string TStrUtils::AddLeadingZeroes(std::int64_t number, int length) {
    // Like "%.*d": the zeros pad the digits, the sign stays in front.
    const std::uint64_t magnitude =
        number < 0 ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
    std::string digits = std::to_string(magnitude);
    if (length > 0 && digits.size() < static_cast<size_t>(length))
        digits.insert(0, static_cast<size_t>(length) - digits.size(), '0');
    return number < 0 ? "-" + digits : digits;
}

void TStrUtils::StrToResolution(const std::string& value, int& width, int& height) {
    width = -1;
    height = -1;
    // The leftmost run of digits followed by 'x' and a digit starts the match; both runs are greedy.
    for (size_t start = 0; start < value.size();) {
        if (!IsAsciiDigit(value[start])) {
            ++start;
            continue;
        }
        size_t end = start;
        while (end < value.size() && IsAsciiDigit(value[end]))
            ++end;
        if (end + 1 < value.size() && value[end] == 'x' && IsAsciiDigit(value[end + 1])) {
            size_t heightEnd = end + 1;
            while (heightEnd < value.size() && IsAsciiDigit(value[heightEnd]))
                ++heightEnd;
            int parsedWidth = 0;
            int parsedHeight = 0;
            const char* data = value.data();
            if (std::from_chars(data + start, data + end, parsedWidth).ec == std::errc() &&
                std::from_chars(data + end + 1, data + heightEnd, parsedHeight).ec == std::errc()) {
                width = parsedWidth;
                height = parsedHeight;
            }
            return;
        }
        start = end;
    }
}

std::string TStrUtils::QuoteJavascript(const std::string& value) {
    return ReplaceAll(ReplaceAll(value, "'", "\\x27"), "\"", "\\x22");
}

std::string TStrUtils::UnquoteJavascript(const std::string& value) {
    return ReplaceAll(ReplaceAll(value, "\\x27", "'"), "\\x22", "\"");
}

std::string TStrUtils::QuoteArguments(const std::string& value) {
    return ReplaceAll(ReplaceAll(QuoteJavascript(value), ":", "\\x3a"), "|", "\\x7c");
}

std::string TStrUtils::UnquoteArguments(const std::string& value) {
    return ReplaceAll(ReplaceAll(UnquoteJavascript(value), "\\x3a", ":"), "\\x7c", "|");
}

std::string TStrUtils::RepeatString(const std::string& value, int count) {
    std::string out;
    if (count <= 0) return out;
    out.reserve(value.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        out += value;
    return out;
}

std::string TStrUtils::Capitalize(const std::string& value) {
    if (value.empty()) return value;
    const size_t length = std::min(SequenceLength(static_cast<unsigned char>(value[0])), value.size());
    const std::string_view first(value.data(), length);
    if (!IsValidUtf8(first)) return value;
    std::string out;
    AppendUtf8(out, UpperCodePoint(ToCodePoints(first)[0]));
    return out.append(value, length);
}

bool TStrUtils::FilePathIsHttpUrl(const std::string& path) {
    return StartsWithNoCase(path, "http://") || StartsWithNoCase(path, "https://");
}

bool TStrUtils::FilePathIsAppRelative(const std::string& path) {
    return StartsWithNoCase(path, "app/files/");
}

bool TStrUtils::FilePathIsPluginRelative(const std::string& path) {
    return StartsWithNoCase(path, "app/plugins/");
}

} // namespace Corvane::Shared
