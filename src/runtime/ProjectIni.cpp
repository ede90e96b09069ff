// The application settings: the ini text split into sections and entries, and the typed reads.
#include "runtime/ProjectIni.h"

#include <algorithm>
#include <cwctype>

#include "shared/Utf.h"

namespace Corvane::Runtime {

namespace {

// Simple lower-casing of one UTF-16 unit. The Latin, Greek and Cyrillic capitals are mapped here so
// that matching does not depend on whether a locale has been set; the rest goes to the C library.
char16_t LowerUnit(char16_t c) {
    if (c < 0x80) return c >= 'A' && c <= 'Z' ? static_cast<char16_t>(c + 0x20) : c;
    const auto shift = [c](int delta) { return static_cast<char16_t>(c + delta); };
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return shift(0x20);
    if (c == 0x130) return u'i';
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return (c & 1) ? c : shift(1);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? shift(1) : c;
    if (c == 0x178) return 0xFF;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return shift(0x25);
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return shift(0x3F);
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return shift(0x20);
    if (c >= 0x400 && c <= 0x40F) return shift(0x50);
    if (c >= 0x410 && c <= 0x42F) return shift(0x20);
    if (c >= 0xD800 && c <= 0xDFFF) return c; // half of a pair: not a character of its own
    const auto lowered = std::towlower(static_cast<std::wint_t>(c));
    return lowered > 0 && lowered <= 0xFFFF ? static_cast<char16_t>(lowered) : c;
}

// The form in which section and entry names are compared.
std::u16string MatchKey(std::string_view name) {
    std::u16string key = Shared::Utf8ToUtf16(name);
    std::transform(key.begin(), key.end(), key.begin(), LowerUnit);
    return key;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.remove_suffix(1);
    return text;
}

// Calls onLine for every line; lines end at CR LF, LF or CR.
template <typename F> void ForEachLine(std::string_view text, F onLine) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            onLine(text.substr(start));
            return;
        }
        onLine(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

} // namespace

void TProjectIni::LoadFromBytes(std::string_view bytes) {
    LoadFromText(DecodeTextFile(bytes));
}

void TProjectIni::LoadFromText(std::string_view text) {
    Clear();
    TSection* current = nullptr;
    ForEachLine(text, [&](std::string_view rawLine) {
        const std::string_view line = Trim(rawLine);
        if (line.empty() || line.front() == ';') return;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string_view name = Trim(line.substr(1, line.size() - 2));
            std::u16string key = MatchKey(name);
            const auto found = std::find_if(FSections.begin(), FSections.end(),
                                            [&key](const TSection& s) { return s.Key == key; });
            if (found != FSections.end()) {
                current = &*found;
            } else {
                current = &FSections.emplace_back(TSection{std::string(name), std::move(key), {}});
            }
            return;
        }
        if (!current) return;
        const size_t equals = line.find('=');
        TEntry entry;
        if (equals == std::string_view::npos) {
            entry.Name = std::string(line);
        } else {
            entry.Name = std::string(Trim(line.substr(0, equals)));
            entry.Value = std::string(Trim(line.substr(equals + 1)));
            entry.HasValue = true;
        }
        entry.Key = MatchKey(entry.Name);
        current->Entries.push_back(std::move(entry));
    });
}

void TProjectIni::Clear() {
    FSections.clear();
}

const TProjectIni::TEntry* TProjectIni::Find(std::string_view Section, std::string_view Ident) const {
    const std::u16string sectionKey = MatchKey(Section);
    const auto section = std::find_if(FSections.begin(), FSections.end(),
                                      [&sectionKey](const TSection& s) { return s.Key == sectionKey; });
    if (section == FSections.end()) return nullptr;
    const std::u16string identKey = MatchKey(Ident);
    const auto entry = std::find_if(section->Entries.rbegin(), section->Entries.rend(),
                                    [&identKey](const TEntry& e) { return e.Key == identKey; });
    return entry == section->Entries.rend() ? nullptr : &*entry;
}

std::string TProjectIni::ReadString(std::string_view Section, std::string_view Ident,
                                    const std::string& Default) const {
    const TEntry* entry = Find(Section, Ident);
    return entry && entry->HasValue ? entry->Value : Default;
}

std::int32_t TProjectIni::ReadInteger(std::string_view Section, std::string_view Ident,
                                      std::int32_t Default) const {
    const TEntry* entry = Find(Section, Ident);
    std::int32_t value = 0;
    return entry && entry->HasValue && TryStrToInt32(entry->Value, value) ? value : Default;
}

bool TProjectIni::ReadBool(std::string_view Section, std::string_view Ident, bool Default) const {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

} // namespace Corvane::Runtime
