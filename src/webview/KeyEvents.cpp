// Keys pressed in the view: first to the host as accelerator keys, then the view's own shortcuts
// (zoom, developer tools), then the page.
#include <gdk/gdkkeysyms.h>

#include <iterator>

#include "webview/BrowserView.h"
#include "webview/EventArgs.h"
#include "webview/KeyMap.h"

namespace CrvWebView {

namespace {

// The zoom steps of Ctrl +/- and Ctrl+wheel.
constexpr double kZoomLevels[] = {0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                  1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};

bool IsAltKey(unsigned keyval) {
    return keyval == GDK_KEY_Alt_L || keyval == GDK_KEY_Alt_R || keyval == GDK_KEY_Meta_L ||
           keyval == GDK_KEY_Meta_R;
}

} // namespace

void TBrowserView::ConnectKeySignals() {
    g_signal_connect(FView, "key-press-event", G_CALLBACK(OnKeyEvent), this);
    g_signal_connect(FView, "key-release-event", G_CALLBACK(OnKeyEvent), this);
    g_signal_connect(FView, "scroll-event", G_CALLBACK(OnScroll), this);
}

gboolean TBrowserView::OnKeyEvent(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    if (self->FClosed) return FALSE;
    for (const auto& seen : self->FRecentKeys)
        if (seen.Time == event->time && seen.Keycode == event->hardware_keycode && seen.Type == event->type)
            return FALSE;
    self->FRecentKeys[self->FNextRecentKey++ % std::size(self->FRecentKeys)] = {
        event->time, event->hardware_keycode, event->type};
    const bool release = event->type == GDK_KEY_RELEASE;
    const unsigned keycode = event->hardware_keycode;
    const bool wasDown = !release && self->FKeysDown.count(keycode) > 0;
    if (release)
        self->FKeysDown.erase(keycode);
    else
        self->FKeysDown.insert(keycode);

    TKeyInput input;
    input.Keyval = event->keyval;
    input.HardwareKeycode = keycode;
    input.Release = release;
    input.AltHeld = (event->state & GDK_MOD1_MASK) != 0 || IsAltKey(event->keyval);
    input.CtrlHeld = (event->state & GDK_CONTROL_MASK) != 0;
    input.WasDown = wasDown;

    ComPtr<TBrowserView> keep(self);
    if (!self->FAcceleratorKeyPressed.Empty()) {
        auto args =
            ComPtr<TAcceleratorKeyPressedArgs>::Attach(new TAcceleratorKeyPressedArgs(MapKeyEvent(input)));
        self->FAcceleratorKeyPressed.Raise(
            self->AsController(), static_cast<ICoreWebView2AcceleratorKeyPressedEventArgs*>(args.Get()));
        if (args->Handled()) return TRUE;
    }
    if (self->FClosed) return TRUE;
    return !release && self->BuiltInKey(event);
}

bool TBrowserView::BuiltInKey(const GdkEventKey* event) {
    const guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    const bool ctrl = modifiers == GDK_CONTROL_MASK;
    const bool ctrlShift = modifiers == (GDK_CONTROL_MASK | GDK_SHIFT_MASK);
    if (FSettings->ZoomControlEnabled() && (ctrl || ctrlShift)) {
        switch (event->keyval) {
        case GDK_KEY_plus:
        case GDK_KEY_equal:
        case GDK_KEY_KP_Add:
            ZoomBy(1);
            return true;
        case GDK_KEY_minus:
        case GDK_KEY_underscore:
        case GDK_KEY_KP_Subtract:
            ZoomBy(-1);
            return true;
        case GDK_KEY_0:
        case GDK_KEY_KP_0:
            webkit_web_view_set_zoom_level(FView, 1.0);
            return true;
        default:
            break;
        }
    }
    const bool inspector = event->keyval == GDK_KEY_F12 && modifiers == 0;
    const bool inspectorShortcut = ctrlShift && (event->keyval == GDK_KEY_I || event->keyval == GDK_KEY_i);
    if (FSettings->DevToolsEnabled() && (inspector || inspectorShortcut)) {
        webkit_web_inspector_show(webkit_web_view_get_inspector(FView));
        return true;
    }
    return false;
}

gboolean TBrowserView::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    if (self->FClosed || !self->FSettings->ZoomControlEnabled()) return FALSE;
    if ((event->state & gtk_accelerator_get_default_mod_mask()) != GDK_CONTROL_MASK) return FALSE;
    int direction = 0;
    if (event->direction == GDK_SCROLL_UP) direction = 1;
    if (event->direction == GDK_SCROLL_DOWN) direction = -1;
    if (event->direction == GDK_SCROLL_SMOOTH)
        direction = event->delta_y < 0 ? 1 : event->delta_y > 0 ? -1 : 0;
    if (direction == 0) return FALSE;
    self->ZoomBy(direction);
    return TRUE;
}

// One step up or down from the current zoom.
void TBrowserView::ZoomBy(double direction) {
    const double zoom = webkit_web_view_get_zoom_level(FView);
    double next = zoom;
    if (direction > 0) {
        for (const double level : kZoomLevels)
            if (level > zoom + 0.001) {
                next = level;
                break;
            }
    } else {
        for (auto it = std::rbegin(kZoomLevels); it != std::rend(kZoomLevels); ++it)
            if (*it < zoom - 0.001) {
                next = *it;
                break;
            }
    }
    if (next != zoom) webkit_web_view_set_zoom_level(FView, next);
}

} // namespace CrvWebView
