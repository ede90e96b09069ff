// Window captions on Linux: the X11 window manager's client list, or this program's own windows
// where the display is not X11.
#include "platform/WindowList.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace Platform {

namespace {

// A window property as raw items; empty when the window lacks it or is gone.
std::vector<unsigned char> ReadProperty(Display* display, Window window, Atom property, Atom type,
                                        int& format, unsigned long& count) {
    Atom actualType = None;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    count = 0;
    format = 0;
    const int status = XGetWindowProperty(display, window, property, 0, 0x7FFFFFF, False, type, &actualType,
                                          &format, &count, &after, &data);
    std::vector<unsigned char> bytes;
    if (status == Success && data && actualType != None) {
        // Items of format 32 are longs in client memory, whatever their width on the wire.
        const size_t itemSize = format == 32 ? sizeof(long) : format == 16 ? sizeof(short) : 1;
        bytes.assign(data, data + count * itemSize);
    }
    if (data) XFree(data);
    return bytes;
}

std::string WindowCaption(Display* display, Window window) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    int format = 0;
    unsigned long count = 0;
    const auto name = ReadProperty(display, window, netName, utf8, format, count);
    if (!name.empty() && format == 8) return std::string(name.begin(), name.end());

    // WM_NAME may be Latin-1 or compound text; Xlib converts either to UTF-8.
    XTextProperty text{};
    std::string caption;
    if (XGetWMName(display, window, &text) && text.value && text.nitems > 0) {
        char** list = nullptr;
        int pieces = 0;
        if (Xutf8TextPropertyToTextList(display, &text, &list, &pieces) >= Success && list) {
            for (int i = 0; i < pieces; ++i)
                caption += list[i];
            XFreeStringList(list);
        }
    }
    if (text.value) XFree(text.value);
    return caption;
}

// The window manager's clients in their mapping order; without a window manager that keeps the
// list, every child of the root window, bottom to top.
std::vector<Window> TopLevelWindows(Display* display) {
    const Window root = DefaultRootWindow(display);
    int format = 0;
    unsigned long count = 0;
    const auto clients = ReadProperty(display, root, XInternAtom(display, "_NET_CLIENT_LIST", False),
                                      XA_WINDOW, format, count);
    std::vector<Window> windows;
    if (format == 32 && count > 0) {
        const auto* ids = reinterpret_cast<const unsigned long*>(clients.data());
        windows.assign(ids, ids + count);
        return windows;
    }
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int childCount = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &childCount) && children)
        windows.assign(children, children + childCount);
    if (children) XFree(children);
    return windows;
}

std::vector<std::string> CaptionsOf(Display* display) {
    std::vector<std::string> captions;
    for (const Window window : TopLevelWindows(display))
        captions.push_back(WindowCaption(display, window));
    return captions;
}

// A window may be destroyed while it is read; its errors are ignored.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

std::vector<std::string> OwnWindowCaptions() {
    std::vector<std::string> captions;
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item; item = item->next) {
        const gchar* title = gtk_window_get_title(GTK_WINDOW(item->data));
        captions.emplace_back(title ? title : "");
    }
    g_list_free(windows);
    return captions;
}

} // namespace

std::vector<std::string> TopLevelWindowCaptions() {
    GdkDisplay* gdkDisplay = gdk_display_get_default();
    if (gdkDisplay && GDK_IS_X11_DISPLAY(gdkDisplay)) {
        gdk_x11_display_error_trap_push(gdkDisplay);
        auto captions = CaptionsOf(GDK_DISPLAY_XDISPLAY(gdkDisplay));
        gdk_x11_display_error_trap_pop_ignored(gdkDisplay);
        return captions;
    }
    if (gdkDisplay) return OwnWindowCaptions();

    // The toolkit is not running: ask the X server directly, if there is one.
    Display* display = XOpenDisplay(nullptr);
    if (!display) return {};
    const auto previous = XSetErrorHandler(IgnoreXError);
    auto captions = CaptionsOf(display);
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return captions;
}

} // namespace Platform
