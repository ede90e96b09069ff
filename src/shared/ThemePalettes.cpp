// The palettes of the built-in styles; the platform pours each into its one style sheet.
#include "shared/ThemePalettes.h"

namespace Corvane::Shared {

namespace {

constexpr bool kGloss = true;
constexpr bool kFlat = false;

// clang-format off
constexpr TBuiltInStyle kStyles[] = {
    // name                   window     text       base       accent     on accent  menu bar   menu text  button     border   radius gloss
    {"Amakrits",             {"#2e2a27", "#e8e2da", "#1f1c1a", "#d9822b", "#1a1410", "#3a3430", "#f0e6da", "#4a423c", "#5c524a", 3, kFlat}},
    {"Amethyst Kamri",       {"#e9e4f0", "#2a1f3d", "#ffffff", "#7b5ea7", "#ffffff", "#5c4584", "#ffffff", "#dcd3ea", "#a895c7", 4, kGloss}},
    {"Aqua Graphite",        {"#3a3d41", "#e6e9ec", "#2c2f33", "#2fa9c9", "#0b1f26", "#2a2c30", "#dfe6ea", "#50555b", "#1e2023", 3, kGloss}},
    {"Aqua Light Slate",     {"#dde3e8", "#1f2a33", "#f7f9fb", "#137e97", "#ffffff", "#c3ced7", "#1f2a33", "#e8edf1", "#9aa9b6", 3, kFlat}},
    {"Auric",                {"#262626", "#f2e6c9", "#1a1a1a", "#c9a23a", "#1a1406", "#1c1c1c", "#e0c068", "#3b3630", "#6b5a2e", 2, kFlat}},
    {"Carbon",               {"#303030", "#e0e0e0", "#232323", "#2f6db5", "#ffffff", "#262626", "#e0e0e0", "#444444", "#1a1a1a", 2, kFlat}},
    {"Charcoal Dark Slate",  {"#2f343a", "#d8dee4", "#23272c", "#536f86", "#ffffff", "#262a2f", "#c9d1d9", "#3e454d", "#1b1e22", 2, kFlat}},
    {"Cobalt XEMedia",       {"#1c2a3f", "#dbe6f5", "#13203a", "#2f6fd6", "#ffffff", "#0f1b2e", "#a9c7f0", "#2a3d5c", "#0a1424", 4, kGloss}},
    {"Cyan Dusk",            {"#23313a", "#d4eef2", "#1a252c", "#18a7b5", "#061a1d", "#1b2830", "#7fd7e0", "#324651", "#12191e", 3, kFlat}},
    {"Cyan Night",           {"#16191d", "#c8f2f7", "#0d0f12", "#00b4cc", "#00181c", "#0b0d10", "#00d0e8", "#22272d", "#2a3036", 2, kFlat}},
    {"Emerald Light Slate",  {"#e1e6e3", "#1d2a24", "#fbfcfb", "#187a4c", "#ffffff", "#c9d4ce", "#1d2a24", "#edf1ee", "#9fb1a7", 3, kFlat}},
    {"Glossy",               {"#2a2a2e", "#f0f0f0", "#1d1d20", "#2a6fbf", "#ffffff", "#111114", "#ffffff", "#46464c", "#0c0c0e", 5, kGloss}},
    {"Glow",                 {"#1e1f24", "#e8e8ea", "#15161a", "#ff7a1a", "#1a0c00", "#2a2b31", "#ffb070", "#34353c", "#4a3220", 4, kGloss}},
    {"Golden Graphite",      {"#35363a", "#ececec", "#28292c", "#d4a017", "#1f1700", "#2a2b2e", "#e8c45a", "#4a4b50", "#1c1c1f", 3, kGloss}},
    {"Iceberg Classico",     {"#e6eff5", "#1b2b3a", "#ffffff", "#2f6fa3", "#ffffff", "#cfe0ee", "#16324d", "#f3f8fb", "#9db8cf", 2, kGloss}},
    {"Lavender Classico",    {"#ebe7f2", "#2e2640", "#ffffff", "#7558b5", "#ffffff", "#d9d1ea", "#2e2640", "#f4f1f9", "#b3a5d2", 2, kGloss}},
    {"Light",                {"#f5f5f5", "#333333", "#ffffff", "#336fb0", "#ffffff", "#fafafa", "#333333", "#ebebeb", "#c8c8c8", 2, kFlat}},
    {"Luna",                 {"#ece9d8", "#000000", "#ffffff", "#316ac5", "#ffffff", "#f1efe2", "#000000", "#f4f3ee", "#7f9db9", 3, kGloss}},
    {"Metropolis UI Black",  {"#0f0f0f", "#ffffff", "#000000", "#1ba1e2", "#000000", "#000000", "#ffffff", "#2b2b2b", "#3a3a3a", 0, kFlat}},
    {"Metropolis UI Blue",   {"#1b3a5c", "#ffffff", "#12294a", "#1f6fd0", "#ffffff", "#14304f", "#ffffff", "#275080", "#3a6aa0", 0, kFlat}},
    {"Metropolis UI Dark",   {"#1d1d1d", "#e6e6e6", "#262626", "#c4401f", "#ffffff", "#2d2d30", "#f1f1f1", "#3e3e42", "#555555", 0, kFlat}},
    {"Metropolis UI Green",  {"#173d24", "#f0fff4", "#0f2a18", "#008a00", "#ffffff", "#0f2e1a", "#ffffff", "#22552f", "#2f6f40", 0, kFlat}},
    {"Obsidian",             {"#1a1a1f", "#d6d6dc", "#101014", "#4f6b8f", "#ffffff", "#121216", "#b8b8c8", "#2a2a32", "#3a3a44", 3, kFlat}},
    {"Onyx Blue",            {"#24272d", "#dfe8f5", "#171c24", "#2563d6", "#ffffff", "#1a3a6b", "#e6f0ff", "#353a43", "#11141a", 4, kFlat}},
    {"Ruby Graphite",        {"#36373b", "#ececec", "#29292c", "#c0223b", "#ffffff", "#2b2b2e", "#f28a9a", "#4b4b50", "#1c1c1f", 3, kGloss}},
    {"Sapphire Kamri",       {"#e3e8f2", "#1a2540", "#ffffff", "#2c4f9e", "#ffffff", "#2c4f9e", "#ffffff", "#d6deef", "#8ea0c9", 4, kGloss}},
    {"Silver",               {"#e4e4e6", "#202020", "#fafafa", "#5d6a7b", "#ffffff", "#cfd0d4", "#202020", "#f0f0f2", "#9a9ca3", 3, kGloss}},
    {"Sky",                  {"#dff0fb", "#0e2a40", "#ffffff", "#0b6fc9", "#ffffff", "#a9d6f5", "#0e2a40", "#eef8ff", "#7fb8e0", 6, kGloss}},
    {"Slate Classico",       {"#c9ced6", "#1c222b", "#eef0f3", "#4e5f7a", "#ffffff", "#aab2bf", "#1c222b", "#d8dce3", "#7d8594", 2, kGloss}},
    {"Smokey Quartz Kamri",  {"#4a433f", "#f0e9e4", "#3a3431", "#b08d6e", "#1f1712", "#3b3532", "#e8d8c8", "#5c544f", "#2a2522", 4, kGloss}},
    {"Tablet Dark",          {"#202124", "#e8eaed", "#2a2b2f", "#8ab4f8", "#202124", "#2d2e31", "#e8eaed", "#3c4043", "#5f6368", 6, kFlat}},
    {"Tablet Light",         {"#f8f9fa", "#202124", "#ffffff", "#1a73e8", "#ffffff", "#f1f3f4", "#202124", "#e8eaed", "#c4c7ca", 6, kFlat}},
    {"Turquoise Gray",       {"#3f4448", "#e6ecee", "#33373a", "#1abc9c", "#06201a", "#33373a", "#6fe0c8", "#52585d", "#2a2e31", 3, kFlat}},
    {"Windows10",            {"#ffffff", "#000000", "#ffffff", "#006cc1", "#ffffff", "#ffffff", "#000000", "#cccccc", "#7a7a7a", 0, kFlat}},
    {"Windows10 Blue",       {"#dbe9f7", "#001f3f", "#ffffff", "#0063b1", "#ffffff", "#0063b1", "#ffffff", "#c5dcf2", "#5a8dc0", 0, kFlat}},
    {"Windows10 Dark",       {"#2b2b2b", "#ffffff", "#1f1f1f", "#0067b8", "#ffffff", "#1f1f1f", "#ffffff", "#3c3c3c", "#5a5a5a", 0, kFlat}},
    {"Windows10 Green",      {"#dcefe0", "#0b2b14", "#ffffff", "#107c10", "#ffffff", "#107c10", "#ffffff", "#c6e4cc", "#5fa46c", 0, kFlat}},
    {"Windows10 Purple",     {"#e9e1f2", "#24113a", "#ffffff", "#744da9", "#ffffff", "#5c2d91", "#ffffff", "#d9cbea", "#9a7cc4", 0, kFlat}},
    {"Windows10 SlateGray",  {"#3b4550", "#f0f3f6", "#2e3640", "#5d6d7e", "#ffffff", "#2e3640", "#f0f3f6", "#4f5b68", "#252c34", 0, kFlat}},
};
// clang-format on

} // namespace

std::span<const TBuiltInStyle> BuiltInStyles() {
    return kStyles;
}

} // namespace Corvane::Shared
