// The application settings: the ini text split into sections and entries, and the typed reads.
#include "shared/ProjectIni.h"

#include <algorithm>
#include <optional>

#include "abi/CaseMap.h"
#include "abi/Utf.h"

namespace Corvane::Shared {

using namespace Corvane::Abi;

namespace {

// The form in which section and entry names are compared.
std::u16string MatchKey(std::string_view name) {
    std::u16string key = Abi::Utf8ToUtf16(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char16_t c) { return static_cast<char16_t>(Abi::LowerCodePoint(c)); });
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
    std::optional<std::size_t> current; // an index, not a pointer: adding sections moves them
    ForEachLine(text, [&](std::string_view rawLine) {
        const std::string_view line = Trim(rawLine);
        if (line.empty() || line.front() == ';') return;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string_view name = Trim(line.substr(1, line.size() - 2));
            std::u16string key = MatchKey(name);
            const auto [found, added] = FSectionIndex.try_emplace(key, FSections.size());
            if (added) FSections.push_back(TSection{std::string(name), std::move(key), {}});
            current = found->second;
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
        FSections[*current].Entries.push_back(std::move(entry));
    });
}

void TProjectIni::Clear() {
    FSections.clear();
    FSectionIndex.clear();
}

const TProjectIni::TEntry* TProjectIni::Find(std::string_view section, std::string_view ident) const {
    const auto found = FSectionIndex.find(MatchKey(section));
    if (found == FSectionIndex.end()) return nullptr;
    const TSection& s = FSections[found->second];
    const std::u16string identKey = MatchKey(ident);
    const auto entry = std::find_if(s.Entries.rbegin(), s.Entries.rend(),
                                    [&identKey](const TEntry& e) { return e.Key == identKey; });
    return entry == s.Entries.rend() ? nullptr : &*entry;
}

std::string TProjectIni::ReadString(std::string_view section, std::string_view ident,
                                    const std::string& fallback) const {
    const TEntry* entry = Find(section, ident);
    return entry && entry->HasValue ? entry->Value : fallback;
}

std::int32_t TProjectIni::ReadInteger(std::string_view section, std::string_view ident,
                                      std::int32_t fallback) const {
    const TEntry* entry = Find(section, ident);
    std::int32_t value = 0;
    return entry && entry->HasValue && TryStrToInt32(entry->Value, value) ? value : fallback;
}

bool TProjectIni::ReadBool(std::string_view section, std::string_view ident, bool fallback) const {
    return ReadInteger(section, ident, fallback ? 1 : 0) != 0;
}

} // namespace Corvane::Shared
