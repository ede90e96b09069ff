// Text at the COM edge.
#include "webview/Text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "abi/Utf.h"

namespace CrvWebView {

std::string ToUtf8(LPCWSTR text) {
    if (!text) return {};
    return Corvane::Abi::Utf16ToUtf8(std::u16string_view(text));
}

std::u16string ToUtf16(std::string_view text) {
    return Corvane::Abi::Utf8ToUtf16(text);
}

HRESULT OutString(std::string_view text, LPWSTR* out) {
    if (!out) return E_POINTER;
    const std::u16string wide = ToUtf16(text);
    auto* copy = static_cast<WCHAR*>(std::malloc((wide.size() + 1) * sizeof(WCHAR)));
    *out = copy;
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(copy, wide.data(), wide.size() * sizeof(WCHAR));
    copy[wide.size()] = 0;
    return S_OK;
}

std::string JsonQuote(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

namespace {

bool IsJsonBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ReadHex4(std::string_view s, size_t pos, char32_t& value) {
    if (pos + 4 > s.size()) return false;
    value = 0;
    for (size_t i = pos; i < pos + 4; ++i) {
        const int digit = HexDigit(s[i]);
        if (digit < 0) return false;
        value = value * 16 + static_cast<char32_t>(digit);
    }
    return true;
}

} // namespace

bool DecodeJsonString(std::string_view json, std::string& out) {
    while (!json.empty() && IsJsonBlank(json.front()))
        json.remove_prefix(1);
    while (!json.empty() && IsJsonBlank(json.back()))
        json.remove_suffix(1);
    if (json.size() < 2 || json.front() != '"' || json.back() != '"') return false;
    std::string text;
    for (size_t i = 1; i + 1 < json.size(); ++i) {
        const char c = json[i];
        if (c == '"' || static_cast<unsigned char>(c) < 0x20) return false;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++i + 1 >= json.size()) return false;
        switch (json[i]) {
        case '"':
            text += '"';
            break;
        case '\\':
            text += '\\';
            break;
        case '/':
            text += '/';
            break;
        case 'b':
            text += '\b';
            break;
        case 'f':
            text += '\f';
            break;
        case 'n':
            text += '\n';
            break;
        case 'r':
            text += '\r';
            break;
        case 't':
            text += '\t';
            break;
        case 'u': {
            char32_t cp = 0;
            if (!ReadHex4(json, i + 1, cp)) return false;
            i += 4;
            char32_t low = 0;
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 6 < json.size() && json[i + 1] == '\\' &&
                json[i + 2] == 'u' && ReadHex4(json, i + 3, low) && low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 6;
            }
            Corvane::Abi::AppendUtf8(text, cp); // a lone surrogate becomes U+FFFD
            break;
        }
        default:
            return false;
        }
    }
    out = std::move(text);
    return true;
}

} // namespace CrvWebView
