// Base64 decoding with the standard alphabet.
#include "shared/Base64.h"

#include <array>
#include <cstdint>

namespace Corvane::Shared {

namespace {

constexpr std::int8_t kNotInAlphabet = -1;

constexpr std::array<std::int8_t, 256> MakeTable() {
    std::array<std::int8_t, 256> table{};
    table.fill(kNotInAlphabet);
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
    return table;
}

constexpr auto kTable = MakeTable();

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

} // namespace

bool Base64Decode(std::string_view text, std::string& bytes) {
    bytes.clear();
    bytes.reserve(text.size() / 4 * 3 + 2);
    std::uint32_t bits = 0;
    int count = 0;   // characters of the alphabet read so far
    int padding = 0; // '=' read so far
    for (const char c : text) {
        if (IsSpace(c)) continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const std::int8_t value = kTable[static_cast<unsigned char>(c)];
        if (value == kNotInAlphabet || padding > 0) {
            bytes.clear();
            return false;
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        if (++count % 4 == 0) {
            bytes += static_cast<char>(bits >> 16);
            bytes += static_cast<char>(bits >> 8);
            bytes += static_cast<char>(bits);
            bits = 0;
        }
    }
    // The last group: 2 characters give one byte, 3 give two; padding, if any, must fill it to four.
    const int rest = count % 4;
    if (rest == 1 || padding > 2 || (padding > 0 && rest + padding != 4)) {
        bytes.clear();
        return false;
    }
    if (rest == 2) bytes += static_cast<char>(bits >> 4);
    if (rest == 3) {
        bytes += static_cast<char>(bits >> 10);
        bytes += static_cast<char>(bits >> 2);
    }
    return true;
}

} // namespace Corvane::Shared
