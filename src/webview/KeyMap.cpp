// Toolkit key events as Windows key messages.
#include "webview/KeyMap.h"

#include <gdk/gdkkeysyms.h>

namespace CrvWebView {

namespace {

struct TKeyPair {
    unsigned Keyval;
    UINT VirtualKey;
};

// Keys whose symbol does not follow from a range below.
constexpr TKeyPair kKeys[] = {
    {GDK_KEY_BackSpace, 0x08},
    {GDK_KEY_Tab, 0x09},
    {GDK_KEY_ISO_Left_Tab, 0x09},
    {GDK_KEY_Clear, 0x0C},
    {GDK_KEY_Return, 0x0D},
    {GDK_KEY_KP_Enter, 0x0D},
    {GDK_KEY_Shift_L, 0x10},
    {GDK_KEY_Shift_R, 0x10},
    {GDK_KEY_Control_L, 0x11},
    {GDK_KEY_Control_R, 0x11},
    {GDK_KEY_Alt_L, 0x12},
    {GDK_KEY_Alt_R, 0x12},
    {GDK_KEY_Meta_L, 0x12},
    {GDK_KEY_Meta_R, 0x12},
    {GDK_KEY_Pause, 0x13},
    {GDK_KEY_Break, 0x13},
    {GDK_KEY_Caps_Lock, 0x14},
    {GDK_KEY_Escape, 0x1B},
    {GDK_KEY_space, 0x20},
    {GDK_KEY_KP_Space, 0x20},
    {GDK_KEY_Page_Up, 0x21},
    {GDK_KEY_KP_Page_Up, 0x21},
    {GDK_KEY_Page_Down, 0x22},
    {GDK_KEY_KP_Page_Down, 0x22},
    {GDK_KEY_End, 0x23},
    {GDK_KEY_KP_End, 0x23},
    {GDK_KEY_Home, 0x24},
    {GDK_KEY_KP_Home, 0x24},
    {GDK_KEY_Left, 0x25},
    {GDK_KEY_KP_Left, 0x25},
    {GDK_KEY_Up, 0x26},
    {GDK_KEY_KP_Up, 0x26},
    {GDK_KEY_Right, 0x27},
    {GDK_KEY_KP_Right, 0x27},
    {GDK_KEY_Down, 0x28},
    {GDK_KEY_KP_Down, 0x28},
    {GDK_KEY_KP_Begin, 0x0C},
    {GDK_KEY_Select, 0x29},
    {GDK_KEY_Print, 0x2C},
    {GDK_KEY_Sys_Req, 0x2C},
    {GDK_KEY_Execute, 0x2B},
    {GDK_KEY_Insert, 0x2D},
    {GDK_KEY_KP_Insert, 0x2D},
    {GDK_KEY_Delete, 0x2E},
    {GDK_KEY_KP_Delete, 0x2E},
    {GDK_KEY_Help, 0x2F},
    {GDK_KEY_Super_L, 0x5B},
    {GDK_KEY_Super_R, 0x5C},
    {GDK_KEY_Menu, 0x5D},
    {GDK_KEY_KP_Multiply, 0x6A},
    {GDK_KEY_KP_Add, 0x6B},
    {GDK_KEY_KP_Separator, 0x6C},
    {GDK_KEY_KP_Subtract, 0x6D},
    {GDK_KEY_KP_Decimal, 0x6E},
    {GDK_KEY_KP_Divide, 0x6F},
    {GDK_KEY_Num_Lock, 0x90},
    {GDK_KEY_Scroll_Lock, 0x91},
    // Shifted digits of a US layout keep the digit's code.
    {GDK_KEY_parenright, '0'},
    {GDK_KEY_exclam, '1'},
    {GDK_KEY_at, '2'},
    {GDK_KEY_numbersign, '3'},
    {GDK_KEY_dollar, '4'},
    {GDK_KEY_percent, '5'},
    {GDK_KEY_asciicircum, '6'},
    {GDK_KEY_ampersand, '7'},
    {GDK_KEY_asterisk, '8'},
    {GDK_KEY_parenleft, '9'},
    // OEM punctuation, each with its shifted form.
    {GDK_KEY_semicolon, 0xBA},
    {GDK_KEY_colon, 0xBA},
    {GDK_KEY_equal, 0xBB},
    {GDK_KEY_plus, 0xBB},
    {GDK_KEY_comma, 0xBC},
    {GDK_KEY_less, 0xBC},
    {GDK_KEY_minus, 0xBD},
    {GDK_KEY_underscore, 0xBD},
    {GDK_KEY_period, 0xBE},
    {GDK_KEY_greater, 0xBE},
    {GDK_KEY_slash, 0xBF},
    {GDK_KEY_question, 0xBF},
    {GDK_KEY_grave, 0xC0},
    {GDK_KEY_asciitilde, 0xC0},
    {GDK_KEY_bracketleft, 0xDB},
    {GDK_KEY_braceleft, 0xDB},
    {GDK_KEY_backslash, 0xDC},
    {GDK_KEY_bar, 0xDC},
    {GDK_KEY_bracketright, 0xDD},
    {GDK_KEY_braceright, 0xDD},
    {GDK_KEY_apostrophe, 0xDE},
    {GDK_KEY_quotedbl, 0xDE},
};

constexpr unsigned kExtended[] = {
    GDK_KEY_Page_Up,  GDK_KEY_Page_Down, GDK_KEY_End,       GDK_KEY_Home,   GDK_KEY_Left,
    GDK_KEY_Up,       GDK_KEY_Right,     GDK_KEY_Down,      GDK_KEY_Insert, GDK_KEY_Delete,
    GDK_KEY_KP_Enter, GDK_KEY_KP_Divide, GDK_KEY_Control_R, GDK_KEY_Alt_R,  GDK_KEY_Num_Lock,
    GDK_KEY_Print,    GDK_KEY_Super_L,   GDK_KEY_Super_R,   GDK_KEY_Menu,   GDK_KEY_Break,
};

} // namespace

UINT VirtualKeyFromKeyval(unsigned keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return 'A' + (keyval - GDK_KEY_a);
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return 'A' + (keyval - GDK_KEY_A);
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return '0' + (keyval - GDK_KEY_0);
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return 0x70 + (keyval - GDK_KEY_F1);
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return 0x60 + (keyval - GDK_KEY_KP_0);
    for (const auto& key : kKeys)
        if (key.Keyval == keyval) return key.VirtualKey;
    return 0;
}

bool IsExtendedKeyval(unsigned keyval) {
    for (const unsigned key : kExtended)
        if (key == keyval) return true;
    return false;
}

TKeyMessage MapKeyEvent(const TKeyInput& input) {
    TKeyMessage message;
    const bool system = (input.AltHeld || input.Keyval == GDK_KEY_F10) && !input.CtrlHeld;
    if (input.Release)
        message.Kind =
            system ? COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP : COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP;
    else
        message.Kind =
            system ? COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN : COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN;
    message.VirtualKey = VirtualKeyFromKeyval(input.Keyval);

    const UINT32 scan = input.HardwareKeycode >= 8 ? (input.HardwareKeycode - 8) & 0xFF : 0;
    const bool extended = IsExtendedKeyval(input.Keyval);
    // A release always follows a down state; a press had one only when it repeats.
    const bool previous = input.Release || input.WasDown;
    std::uint32_t bits = 1; // repeat count
    bits |= scan << 16;
    if (extended) bits |= 1u << 24;
    if (input.AltHeld) bits |= 1u << 29;
    if (previous) bits |= 1u << 30;
    if (input.Release) bits |= 1u << 31;
    message.LParam = static_cast<INT>(bits);

    message.Status.RepeatCount = 1;
    message.Status.ScanCode = scan;
    message.Status.IsExtendedKey = extended;
    message.Status.IsMenuKeyDown = input.AltHeld;
    message.Status.WasKeyDown = previous;
    message.Status.IsKeyReleased = input.Release;
    return message;
}

} // namespace CrvWebView
