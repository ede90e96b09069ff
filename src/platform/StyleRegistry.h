// The registered styles and the active one, shared by the style managers of the backends: each
// backend only puts the active style on screen.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Styles.h"

namespace Platform::StyleRegistry {

struct TStyle {
    std::string Name;
    std::optional<TStylePalette> Palette; // none: the desktop's own look
};

inline std::vector<TStyle>& Styles() {
    static std::vector<TStyle> styles{{kSystemStyleName, std::nullopt}};
    return styles;
}

inline std::size_t& ActiveIndex() {
    static std::size_t active = 0;
    return active;
}

inline const TStyle& Active() {
    return Styles()[ActiveIndex()];
}

inline bool SameNameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

inline std::optional<std::size_t> Find(const std::string& name) {
    const auto& styles = Styles();
    for (std::size_t i = 0; i < styles.size(); ++i)
        if (SameNameNoCase(styles[i].Name, name)) return i;
    return std::nullopt;
}

inline void Register(const std::string& name, const TStylePalette& palette) {
    if (!Find(name)) Styles().push_back({name, palette});
}

inline std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& style : Styles())
        names.push_back(style.Name);
    return names;
}

} // namespace Platform::StyleRegistry
