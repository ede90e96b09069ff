// How one level of a menu shows its captions: access keys given to every item and separator lines
// that would only add space left out. Plain text rules, shared by the menu backends.
#pragma once

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace Platform::MenuText {

// A caption of a single hyphen is drawn as a separator line.
inline bool IsLine(std::string_view caption) {
    return caption == "-";
}

// Bytes of the UTF-8 character that starts at text[pos].
inline std::size_t CharLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return pos + length <= text.size() ? length : text.size() - pos;
}

// "&" marks the character after it as the access key; "&&" is a literal ampersand, and so is an
// "&" before a blank or at the end ("Save & Exit" has no access key).
inline bool IsMarkAt(std::string_view caption, std::size_t pos) {
    return caption[pos] == '&' && pos + 1 < caption.size() && caption[pos + 1] != '&' &&
           caption[pos + 1] != ' ';
}

// The access key that the caption marks, with ASCII letters in lower case; empty when none.
inline std::string MarkedKey(std::string_view caption) {
    for (std::size_t pos = 0; pos < caption.size(); ++pos) {
        if (caption[pos] != '&') continue;
        if (IsMarkAt(caption, pos)) {
            std::string key(caption.substr(pos + 1, CharLength(caption, pos + 1)));
            if (key.size() == 1) key[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
            return key;
        }
        if (pos + 1 < caption.size() && caption[pos + 1] == '&') ++pos;
    }
    return {};
}

// The captions of one level, each caption without a marked access key given the first ASCII letter
// or digit of its own that no other item of the level uses. Marked keys are kept as they are;
// separators and captions without a free character stay unchanged.
inline std::vector<std::string> AssignAccessKeys(const std::vector<std::string>& captions) {
    std::set<std::string> used;
    for (const auto& caption : captions)
        if (!IsLine(caption)) {
            const std::string key = MarkedKey(caption);
            if (!key.empty()) used.insert(key);
        }
    std::vector<std::string> result = captions;
    for (auto& caption : result) {
        if (IsLine(caption) || !MarkedKey(caption).empty()) continue;
        for (std::size_t pos = 0; pos < caption.size(); ++pos) {
            if (caption[pos] == '&') {
                if (pos + 1 < caption.size() && caption[pos + 1] == '&') ++pos;
                continue;
            }
            const auto c = static_cast<unsigned char>(caption[pos]);
            if (c >= 0x80 || !std::isalnum(c)) continue;
            if (used.insert(std::string(1, static_cast<char>(std::tolower(c)))).second) {
                caption.insert(pos, 1, '&');
                break;
            }
        }
    }
    return result;
}

// Which items of a level are shown, given which are separators: a separator shows only between
// two other items, and of several in a row only the first.
inline std::vector<bool> ShownItems(const std::vector<bool>& separators) {
    std::vector<bool> shown(separators.size(), true);
    bool afterItem = false; // the last shown entry is an item, not a line
    for (std::size_t i = 0; i < separators.size(); ++i) {
        if (!separators[i]) {
            afterItem = true;
            continue;
        }
        bool itemFollows = false;
        for (std::size_t j = i + 1; j < separators.size() && !itemFollows; ++j)
            itemFollows = !separators[j];
        shown[i] = afterItem && itemFollows;
        if (shown[i]) afterItem = false;
    }
    return shown;
}

// The caption in the underscore notation of toolkits that mark access keys with "_": the first
// marked key becomes "_x", further marks are dropped, "&&" becomes "&" and "_" becomes "__".
inline std::string ToUnderlineNotation(std::string_view caption) {
    std::string text;
    bool marked = false;
    for (std::size_t pos = 0; pos < caption.size(); ++pos) {
        const char c = caption[pos];
        if (c == '_') {
            text += "__";
        } else if (c != '&') {
            text += c;
        } else if (IsMarkAt(caption, pos)) {
            if (!marked) text += '_';
            marked = true;
        } else {
            text += '&';
            if (pos + 1 < caption.size() && caption[pos + 1] == '&') ++pos;
        }
    }
    return text;
}

// One item of the tree that CRV_DEBUG_MENU reports: "crv-menu: " and a JSON object, with the
// caption in the underscore notation.
struct TDebugItem {
    int Depth;
    std::string_view Caption; // as the level shows it, with its access key
    std::int32_t Tag;
    bool Enabled;
    bool Shown;
    std::string_view Image;
    int ImageIndex;
    std::string_view Picture; // "WxH" as drawn, with " grey"; empty without one
};

inline std::string DebugLine(const TDebugItem& item) {
    const auto json = [](std::string_view text) {
        std::string out = "\"";
        for (const char c : text) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
        return out + '"';
    };
    return "crv-menu: {\"depth\": " + std::to_string(item.Depth) + ", \"label\": " +
           json(IsLine(item.Caption) ? std::string("-") : ToUnderlineNotation(item.Caption)) +
           ", \"tag\": " + std::to_string(item.Tag) + ", \"enabled\": " + (item.Enabled ? "true" : "false") +
           ", \"shown\": " + (item.Shown ? "true" : "false") + ", \"image\": " + json(item.Image) +
           ", \"imageIndex\": " + std::to_string(item.ImageIndex) + ", \"picture\": " + json(item.Picture) +
           "}\n";
}

} // namespace Platform::MenuText
