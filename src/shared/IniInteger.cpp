// The integer conversion of the settings: signed decimal, or hexadecimal filling 32 bits.
#include "shared/ProjectIni.h"

namespace Corvane::Shared {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// At least one digit; up to eight significant digits, which may set the sign bit.
bool ParseHex(std::string_view digits, std::uint32_t& value) {
    if (digits.empty()) return false;
    std::uint32_t result = 0;
    int significant = 0;
    for (const char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) return false;
        if (result != 0 || digit != 0) ++significant;
        if (significant > 8) return false;
        result = (result << 4) | static_cast<std::uint32_t>(digit);
    }
    value = result;
    return true;
}

// At least one digit; the magnitude may reach 2^31 only when negative.
bool ParseDecimal(std::string_view digits, bool negative, std::int32_t& value) {
    if (digits.empty()) return false;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t result = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + (c - '0');
        if (result > limit) return false;
    }
    value = static_cast<std::int32_t>(negative ? -result : result);
    return true;
}

bool HasHexPrefix(std::string_view text) {
    return text.size() >= 2 && text[0] == '0' && (text[1] | 0x20) == 'x';
}

std::int32_t ToSigned(std::uint32_t bits) {
    return static_cast<std::int32_t>(bits);
}

} // namespace

bool TryStrToInt32(std::string_view text, std::int32_t& value) {
    std::uint32_t bits = 0;
    if (text.size() > 2 && HasHexPrefix(text)) {
        if (!ParseHex(text.substr(2), bits)) return false;
        value = ToSigned(bits);
        return true;
    }

    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    std::string_view rest = text.substr(pos);

    size_t prefix = 0;
    if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X'))
        prefix = 1;
    else if (HasHexPrefix(rest))
        prefix = 2;
    if (prefix == 0) return ParseDecimal(rest, negative, value);

    if (!ParseHex(rest.substr(prefix), bits)) return false;
    // A sign applies to the 32-bit pattern, wrapping as the pattern does.
    value = ToSigned(negative ? 0u - bits : bits);
    return true;
}

} // namespace Corvane::Shared
