// The look of a form's window: background colour, edge line, mouse pointer and clipping shape.
#include <gtk/gtk.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "platform/Form.h"

namespace Platform {

namespace {

constexpr const char* kLookKey = "crv-form-look";

// What the window's style rules are made from; kept on the window.
struct TLook {
    GtkCssProvider* Css = nullptr;
    std::uint32_t Color = 0;
    bool HasColor = false;
    bool Shadow = false;
    TCursor Cursor = TCursor::Default;
};

TLook& LookOf(GtkWidget* window) {
    auto* look = static_cast<TLook*>(g_object_get_data(G_OBJECT(window), kLookKey));
    if (look) return *look;
    look = new TLook;
    look->Css = gtk_css_provider_new();
    // Above the application's styles, so a theme chosen for the program does not paint over it.
    gtk_style_context_add_provider(gtk_widget_get_style_context(window), GTK_STYLE_PROVIDER(look->Css),
                                   GTK_STYLE_PROVIDER_PRIORITY_USER + 1);
    g_object_set_data_full(G_OBJECT(window), kLookKey, look, [](gpointer data) {
        auto* l = static_cast<TLook*>(data);
        g_object_unref(l->Css);
        delete l;
    });
    return *look;
}

void ApplyCss(TLook& look) {
    std::string css = "window {";
    if (look.HasColor) {
        char color[16];
        std::snprintf(color, sizeof color, "#%02x%02x%02x", look.Color & 0xFF, (look.Color >> 8) & 0xFF,
                      (look.Color >> 16) & 0xFF);
        css += std::string(" background-color: ") + color + "; background-image: none;";
    }
    if (look.Shadow) css += " border: 1px solid rgba(0, 0, 0, 0.35);";
    css += " }";
    gtk_css_provider_load_from_data(look.Css, css.c_str(), -1, nullptr);
}

void ApplyCursor(GtkWidget* window, TCursor cursor) {
    GdkWindow* gdkWindow = gtk_widget_get_window(window);
    if (!gdkWindow) return;
    GdkCursor* pointer = nullptr;
    // "progress" is the arrow with the busy sign, as against "wait", the busy sign alone.
    if (cursor == TCursor::AppStart)
        pointer = gdk_cursor_new_from_name(gtk_widget_get_display(window), "progress");
    gdk_window_set_cursor(gdkWindow, pointer);
    if (pointer) g_object_unref(pointer);
}

void OnRealizeCursor(GtkWidget* window, gpointer) {
    ApplyCursor(window, LookOf(window).Cursor);
}

} // namespace

void TForm::SetColor(std::uint32_t color) {
    auto* window = static_cast<GtkWidget*>(Handle());
    if (!window) return;
    TLook& look = LookOf(window);
    look.Color = color;
    look.HasColor = true;
    ApplyCss(look);
}

void TForm::SetDropShadow(bool shadow) {
    auto* window = static_cast<GtkWidget*>(Handle());
    if (!window) return;
    TLook& look = LookOf(window);
    look.Shadow = shadow;
    ApplyCss(look);
}

void TForm::SetCursor(TCursor cursor) {
    auto* window = static_cast<GtkWidget*>(Handle());
    if (!window) return;
    TLook& look = LookOf(window);
    if (look.Cursor == cursor) return;
    // The window may be made anew; each time it takes the pointer again.
    if (look.Cursor == TCursor::Default &&
        !g_signal_handler_find(window, G_SIGNAL_MATCH_FUNC, 0, 0, nullptr,
                               reinterpret_cast<gpointer>(OnRealizeCursor), nullptr))
        g_signal_connect_after(window, "realize", G_CALLBACK(OnRealizeCursor), nullptr);
    look.Cursor = cursor;
    ApplyCursor(window, cursor);
}

// Row by row, as the system's round-rectangle regions are: each row is cut at both ends by the
// corner ellipse.
bool TForm::SetRoundRectRegion(int right, int bottom, int ellipseWidth, int ellipseHeight) {
    auto* window = static_cast<GtkWidget*>(Handle());
    const int width = right - 1, height = bottom - 1;
    if (!window || width <= 0 || height <= 0) return false;
    const double a = std::max(0, ellipseWidth) / 2.0, b = std::max(0, ellipseHeight) / 2.0;
    cairo_region_t* region = cairo_region_create();
    for (int y = 0; y < height; ++y) {
        int inset = 0;
        const double fromEdge = std::min(y + 0.5, height - y - 0.5);
        if (b > 0 && fromEdge < b) {
            const double dy = (b - fromEdge) / b;
            inset = static_cast<int>(std::lround(a - a * std::sqrt(std::max(0.0, 1 - dy * dy))));
        }
        const cairo_rectangle_int_t row{inset, y, width - 2 * inset, 1};
        if (row.width > 0) cairo_region_union_rectangle(region, &row);
    }
    const bool ok = cairo_region_status(region) == CAIRO_STATUS_SUCCESS;
    if (ok) {
        gtk_widget_shape_combine_region(window, region);
        gtk_widget_input_shape_combine_region(window, region);
    }
    cairo_region_destroy(region);
    return ok;
}

} // namespace Platform
