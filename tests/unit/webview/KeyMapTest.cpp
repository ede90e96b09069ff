// Tests of toolkit key events as Windows key messages.
#include "webview/KeyMap.h"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

using namespace CrvWebView;

namespace {

TEST(KeyMap, VirtualKeysOfAUsLayout) {
    const std::pair<unsigned, UINT> cases[] = {
        {GDK_KEY_a, 'A'},
        {GDK_KEY_Z, 'Z'},
        {GDK_KEY_7, '7'},
        {GDK_KEY_ampersand, '7'},
        {GDK_KEY_F1, 0x70},
        {GDK_KEY_F24, 0x87},
        {GDK_KEY_Return, 0x0D},
        {GDK_KEY_KP_Enter, 0x0D},
        {GDK_KEY_Tab, 0x09},
        {GDK_KEY_ISO_Left_Tab, 0x09},
        {GDK_KEY_Escape, 0x1B},
        {GDK_KEY_space, 0x20},
        {GDK_KEY_BackSpace, 0x08},
        {GDK_KEY_Page_Up, 0x21},
        {GDK_KEY_KP_Page_Down, 0x22},
        {GDK_KEY_End, 0x23},
        {GDK_KEY_Home, 0x24},
        {GDK_KEY_Left, 0x25},
        {GDK_KEY_KP_Down, 0x28},
        {GDK_KEY_Insert, 0x2D},
        {GDK_KEY_Delete, 0x2E},
        {GDK_KEY_Shift_R, 0x10},
        {GDK_KEY_Control_L, 0x11},
        {GDK_KEY_Alt_R, 0x12},
        {GDK_KEY_KP_3, 0x63},
        {GDK_KEY_KP_Multiply, 0x6A},
        {GDK_KEY_KP_Divide, 0x6F},
        {GDK_KEY_KP_Decimal, 0x6E},
        {GDK_KEY_semicolon, 0xBA},
        {GDK_KEY_plus, 0xBB},
        {GDK_KEY_comma, 0xBC},
        {GDK_KEY_underscore, 0xBD},
        {GDK_KEY_period, 0xBE},
        {GDK_KEY_question, 0xBF},
        {GDK_KEY_grave, 0xC0},
        {GDK_KEY_braceleft, 0xDB},
        {GDK_KEY_bar, 0xDC},
        {GDK_KEY_bracketright, 0xDD},
        {GDK_KEY_quotedbl, 0xDE},
        {GDK_KEY_eacute, 0}, // no code on a US layout
    };
    for (const auto& [keyval, vk] : cases)
        EXPECT_EQ(VirtualKeyFromKeyval(keyval), vk) << std::hex << keyval;
}

TEST(KeyMap, KindsAndLParamBits) {
    struct TCase {
        const char* Name;
        TKeyInput Input;
        COREWEBVIEW2_KEY_EVENT_KIND Kind;
        std::uint32_t LParam;
    };
    // X keycode 38 is scan code 0x1E (A); 64 is Alt (0x38); 113 is Left (0x69, extended); 76 is F10.
    const TCase cases[] = {
        {"press",
         {GDK_KEY_a, 38, false, false, false, false},
         COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN,
         0x001E0001},
        {"repeat",
         {GDK_KEY_a, 38, false, false, false, true},
         COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN,
         0x401E0001},
        {"release",
         {GDK_KEY_a, 38, true, false, false, false},
         COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP,
         0xC01E0001},
        {"alt+a",
         {GDK_KEY_a, 38, false, true, false, false},
         COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN,
         0x201E0001},
        {"alt+a up",
         {GDK_KEY_a, 38, true, true, false, false},
         COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP,
         0xE01E0001},
        {"ctrl+alt+a",
         {GDK_KEY_a, 38, false, true, true, false},
         COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN,
         0x201E0001},
        {"alt itself",
         {GDK_KEY_Alt_L, 64, false, true, false, false},
         COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN,
         0x20380001},
        {"F10",
         {GDK_KEY_F10, 76, false, false, false, false},
         COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN,
         0x00440001},
        {"left",
         {GDK_KEY_Left, 113, false, false, false, false},
         COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN,
         0x01690001},
        {"numpad left",
         {GDK_KEY_KP_Left, 83, false, false, false, false},
         COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN,
         0x004B0001},
    };
    for (const auto& c : cases) {
        const TKeyMessage message = MapKeyEvent(c.Input);
        EXPECT_EQ(message.Kind, c.Kind) << c.Name;
        EXPECT_EQ(static_cast<std::uint32_t>(message.LParam), c.LParam) << c.Name;
        EXPECT_EQ(message.Status.ScanCode, (c.LParam >> 16) & 0xFF) << c.Name;
        EXPECT_EQ(message.Status.IsKeyReleased, c.Input.Release) << c.Name;
        EXPECT_EQ(message.Status.IsMenuKeyDown, c.Input.AltHeld) << c.Name;
        EXPECT_EQ(message.Status.RepeatCount, 1u) << c.Name;
    }
}

} // namespace
