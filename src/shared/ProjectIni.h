// The application settings: crv.ini parsed into memory, read with the runtime's conversions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Corvane::Shared {

class TProjectIni {
public:
    // Replaces the whole content with the sections parsed from the raw file bytes (byte-order mark
    // decides the decoding; no mark: the system's 8-bit code page).
    void LoadFromBytes(std::string_view bytes);
    // Replaces the whole content with the sections parsed from already decoded UTF-8 text.
    void LoadFromText(std::string_view text);
    void Clear();

    // Section and name match without case; the last occurrence of a name counts. A missing
    // section or name, or a name without value (a line without '='), gives fallback; "Name=" has
    // the empty string as its value.
    std::string ReadString(std::string_view section, std::string_view ident,
                           const std::string& fallback) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view ident, std::int32_t fallback) const;
    bool ReadBool(std::string_view section, std::string_view ident, bool fallback) const;

private:
    struct TEntry {
        std::string Name;
        std::u16string Key; // Name lower-cased, for matching
        std::string Value;
        bool HasValue = false;
    };
    struct TSection {
        std::string Name;
        std::u16string Key;
        std::vector<TEntry> Entries;
    };
    const TEntry* Find(std::string_view section, std::string_view ident) const;

    std::vector<TSection> FSections;
    std::unordered_map<std::u16string, std::size_t> FSectionIndex; // by Key
};

// The integer conversion of the settings: "0x"-prefixed hexadecimal (longer than two characters),
// otherwise optional blanks, sign, then decimal or '$'/'x'/'0x' hexadecimal filling 32 bits.
// False on any failure.
bool TryStrToInt32(std::string_view text, std::int32_t& value);

// Decodes a text file by its byte-order mark (UTF-8, UTF-16 LE/BE) or, without one, from the
// system's 8-bit code page; the mark is dropped. Returns UTF-8.
std::string DecodeTextFile(std::string_view bytes);

} // namespace Corvane::Shared
