// The style manager: named looks for every window of the process, one of them active at a time.
#pragma once

#include <string>
#include <vector>

namespace Platform {

// The colours of a style, each "#rrggbb".
struct TStylePalette {
    const char* Window;     // window and dialog background
    const char* Text;       // text on the window background
    const char* Base;       // entries, lists and open menus
    const char* Accent;     // selection, hovered and pressed items
    const char* AccentText; // text on the accent
    const char* MenuBar;
    const char* MenuBarText;
    const char* Button; // button face
    const char* Border;
    int Radius = 0;     // corner radius of buttons and entries, in pixels
    bool Gloss = false; // buttons and the menu bar lit from above
};

// The desktop's own look: registered from the start, and it adds nothing of ours.
inline constexpr char kSystemStyleName[] = "Windows";

// Adds a named style. A name that is already registered (in any letter case) keeps its style.
void RegisterStyle(const std::string& name, const TStylePalette& palette);
// Every registered name in the order of registration, the system look first.
std::vector<std::string> StyleNames();
// Finds the style by name, ASCII letters without case, and makes it the look of every window of
// the process, open now or later. False when no style has that name: the active style stays.
// Works without a display: then only the choice is kept.
bool SetActiveStyle(const std::string& name);
// The active style's name as registered.
std::string ActiveStyleName();

} // namespace Platform
