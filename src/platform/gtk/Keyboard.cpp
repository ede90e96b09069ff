// Synthetic key presses: through the X server's test extension for whichever window has the focus,
// else as events for the program's own active window.
#include "platform/Keyboard.h"

#include <dlfcn.h>
#include <gdk/gdk.h>
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include "platform/Application.h"

namespace Platform {

namespace {

// Windows virtual-key codes and the keys they name.
guint KeyvalOfVirtualKey(std::uint16_t vk) {
    if (vk >= '0' && vk <= '9') return GDK_KEY_0 + (vk - '0');
    if (vk >= 'A' && vk <= 'Z') return GDK_KEY_a + (vk - 'A');
    if (vk >= 0x60 && vk <= 0x69) return GDK_KEY_KP_0 + (vk - 0x60);
    if (vk >= 0x70 && vk <= 0x87) return GDK_KEY_F1 + (vk - 0x70);
    switch (vk) {
    case 0x08:
        return GDK_KEY_BackSpace;
    case 0x09:
        return GDK_KEY_Tab;
    case 0x0C:
        return GDK_KEY_Clear;
    case 0x0D:
        return GDK_KEY_Return;
    case 0x10:
    case 0xA0:
        return GDK_KEY_Shift_L;
    case 0xA1:
        return GDK_KEY_Shift_R;
    case 0x11:
    case 0xA2:
        return GDK_KEY_Control_L;
    case 0xA3:
        return GDK_KEY_Control_R;
    case 0x12:
    case 0xA4:
        return GDK_KEY_Alt_L;
    case 0xA5:
        return GDK_KEY_Alt_R;
    case 0x13:
        return GDK_KEY_Pause;
    case 0x14:
        return GDK_KEY_Caps_Lock;
    case 0x1B:
        return GDK_KEY_Escape;
    case 0x20:
        return GDK_KEY_space;
    case 0x21:
        return GDK_KEY_Page_Up;
    case 0x22:
        return GDK_KEY_Page_Down;
    case 0x23:
        return GDK_KEY_End;
    case 0x24:
        return GDK_KEY_Home;
    case 0x25:
        return GDK_KEY_Left;
    case 0x26:
        return GDK_KEY_Up;
    case 0x27:
        return GDK_KEY_Right;
    case 0x28:
        return GDK_KEY_Down;
    case 0x29:
        return GDK_KEY_Select;
    case 0x2A:
    case 0x2C:
        return GDK_KEY_Print;
    case 0x2B:
        return GDK_KEY_Execute;
    case 0x2D:
        return GDK_KEY_Insert;
    case 0x2E:
        return GDK_KEY_Delete;
    case 0x2F:
        return GDK_KEY_Help;
    case 0x5B:
        return GDK_KEY_Super_L;
    case 0x5C:
        return GDK_KEY_Super_R;
    case 0x5D:
        return GDK_KEY_Menu;
    case 0x6A:
        return GDK_KEY_KP_Multiply;
    case 0x6B:
        return GDK_KEY_KP_Add;
    case 0x6C:
        return GDK_KEY_KP_Separator;
    case 0x6D:
        return GDK_KEY_KP_Subtract;
    case 0x6E:
        return GDK_KEY_KP_Decimal;
    case 0x6F:
        return GDK_KEY_KP_Divide;
    case 0x90:
        return GDK_KEY_Num_Lock;
    case 0x91:
        return GDK_KEY_Scroll_Lock;
    case 0xA6:
        return GDK_KEY_Back;
    case 0xA7:
        return GDK_KEY_Forward;
    case 0xA8:
        return GDK_KEY_Refresh;
    case 0xA9:
        return GDK_KEY_Stop;
    case 0xAA:
        return GDK_KEY_Search;
    case 0xAB:
        return GDK_KEY_Favorites;
    case 0xAC:
        return GDK_KEY_HomePage;
    case 0xAD:
        return GDK_KEY_AudioMute;
    case 0xAE:
        return GDK_KEY_AudioLowerVolume;
    case 0xAF:
        return GDK_KEY_AudioRaiseVolume;
    case 0xB0:
        return GDK_KEY_AudioNext;
    case 0xB1:
        return GDK_KEY_AudioPrev;
    case 0xB2:
        return GDK_KEY_AudioStop;
    case 0xB3:
        return GDK_KEY_AudioPlay;
    case 0xB4:
        return GDK_KEY_Mail;
    case 0xBA:
        return GDK_KEY_semicolon;
    case 0xBB:
        return GDK_KEY_equal;
    case 0xBC:
        return GDK_KEY_comma;
    case 0xBD:
        return GDK_KEY_minus;
    case 0xBE:
        return GDK_KEY_period;
    case 0xBF:
        return GDK_KEY_slash;
    case 0xC0:
        return GDK_KEY_grave;
    case 0xDB:
        return GDK_KEY_bracketleft;
    case 0xDC:
        return GDK_KEY_backslash;
    case 0xDD:
        return GDK_KEY_bracketright;
    case 0xDE:
        return GDK_KEY_apostrophe;
    case 0xE2:
        return GDK_KEY_less;
    default:
        return 0;
    }
}

// The key that gives keyval without a modifier, where the layout has one.
bool KeycodeOf(GdkDisplay* display, guint keyval, guint& keycode, gint& group) {
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (!gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys, &count) ||
        count == 0)
        return false;
    gint best = 0;
    for (gint i = 0; i < count; ++i) {
        if (keys[i].level == 0) {
            best = i;
            break;
        }
    }
    keycode = keys[best].keycode;
    group = keys[best].group;
    g_free(keys);
    return true;
}

#ifdef GDK_WINDOWING_X11
// The test extension's client library is loaded when first needed, so the program runs without it.
struct TXTest {
    using QueryFn = int (*)(Display*, int*, int*, int*, int*);
    using FakeKeyFn = int (*)(Display*, unsigned int, int, unsigned long);
    FakeKeyFn FakeKey = nullptr;

    explicit TXTest(Display* display) {
        void* library = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
        if (!library) return;
        const auto query = reinterpret_cast<QueryFn>(dlsym(library, "XTestQueryExtension"));
        int event = 0, error = 0, major = 0, minor = 0;
        if (query && query(display, &event, &error, &major, &minor))
            FakeKey = reinterpret_cast<FakeKeyFn>(dlsym(library, "XTestFakeKeyEvent"));
    }
};

bool PressThroughServer(GdkDisplay* display, guint keycode) {
    if (!GDK_IS_X11_DISPLAY(display)) return false;
    Display* xdisplay = gdk_x11_display_get_xdisplay(display);
    static const TXTest xtest(xdisplay);
    if (!xtest.FakeKey) return false;
    xtest.FakeKey(xdisplay, keycode, 1, 0);
    xtest.FakeKey(xdisplay, keycode, 0, 0);
    gdk_display_flush(display);
    return true;
}
#else
bool PressThroughServer(GdkDisplay*, guint) {
    return false;
}
#endif

GtkWindow* ActiveOwnWindow() {
    GList* windows = gtk_window_list_toplevels();
    GtkWindow* active = nullptr;
    for (GList* item = windows; item && !active; item = item->next)
        if (gtk_window_is_active(GTK_WINDOW(item->data))) active = GTK_WINDOW(item->data);
    g_list_free(windows);
    return active;
}

bool PressInOwnWindow(GdkDisplay* display, guint keyval, guint keycode, gint group) {
    GtkWindow* window = ActiveOwnWindow();
    GdkWindow* target = window ? gtk_widget_get_window(GTK_WIDGET(window)) : nullptr;
    if (!target) return false;
    GdkDevice* keyboard = gdk_seat_get_keyboard(gdk_display_get_default_seat(display));
    for (const GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
        GdkEvent* event = gdk_event_new(type);
        event->key.window = GDK_WINDOW(g_object_ref(target));
        event->key.send_event = TRUE;
        event->key.time = GDK_CURRENT_TIME;
        event->key.keyval = keyval;
        event->key.hardware_keycode = static_cast<guint16>(keycode);
        event->key.group = static_cast<guint8>(group);
        if (keyboard) gdk_event_set_device(event, keyboard);
        gdk_display_put_event(display, event);
        gdk_event_free(event);
    }
    return true;
}

} // namespace

bool PressVirtualKey(std::uint16_t virtualKey) {
    const guint keyval = KeyvalOfVirtualKey(virtualKey);
    if (keyval == 0 || !EnsureUiInitialized()) return false;
    GdkDisplay* display = gdk_display_get_default();
    guint keycode = 0;
    gint group = 0;
    if (!display || !KeycodeOf(display, keyval, keycode, group)) return false;
    return PressThroughServer(display, keycode) || PressInOwnWindow(display, keyval, keycode, group);
}

} // namespace Platform
