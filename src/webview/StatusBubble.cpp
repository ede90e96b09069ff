// The status bubble.
#include "webview/StatusBubble.h"

#include <algorithm>

namespace CrvWebView {

TStatusBubble::TStatusBubble(GtkWidget* layout) : FLayout(layout) {
    // An event box has a window of its own, so it shows above the browser's window.
    FBox = gtk_event_box_new();
    g_object_ref_sink(FBox);
    FLabel = gtk_label_new("");
    gtk_label_set_ellipsize(GTK_LABEL(FLabel), PANGO_ELLIPSIZE_MIDDLE);
    gtk_label_set_max_width_chars(GTK_LABEL(FLabel), 80);
    gtk_widget_set_margin_start(FLabel, 4);
    gtk_widget_set_margin_end(FLabel, 4);
    gtk_widget_set_margin_top(FLabel, 2);
    gtk_widget_set_margin_bottom(FLabel, 2);
    gtk_container_add(GTK_CONTAINER(FBox), FLabel);
    gtk_widget_show(FLabel);
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(
        css, "* { background-color: #f0f0f0; color: #202020; border: 1px solid #b0b0b0; }", -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(FBox), GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
    gtk_widget_set_no_show_all(FBox, TRUE);
    gtk_layout_put(GTK_LAYOUT(FLayout), FBox, 0, 0);
}

TStatusBubble::~TStatusBubble() {
    gtk_widget_destroy(FBox);
    g_object_unref(FBox);
}

void TStatusBubble::SetParent(GtkWidget* layout) {
    gtk_container_remove(GTK_CONTAINER(FLayout), FBox);
    FLayout = layout;
    gtk_layout_put(GTK_LAYOUT(FLayout), FBox, 0, 0);
    Place();
}

void TStatusBubble::SetArea(const WebView2::RECT& area) {
    FArea = area;
    Place();
}

void TStatusBubble::Show(const std::string& text) {
    gtk_label_set_text(GTK_LABEL(FLabel), text.c_str());
    gtk_widget_show(FBox);
    Place();
    if (GdkWindow* window = gtk_widget_get_window(FBox)) gdk_window_raise(window);
}

void TStatusBubble::Hide() {
    gtk_widget_hide(FBox);
}

// The layout gives children their minimum size, which for an ellipsized label is a few dots: ask for the
// text's natural width, as far as the view is wide.
void TStatusBubble::Place() {
    gtk_widget_set_size_request(FBox, -1, -1);
    int width = 0;
    gtk_widget_get_preferred_width(FBox, nullptr, &width);
    gtk_widget_set_size_request(FBox, std::min(width, std::max(FArea.right - FArea.left, 1)), -1);
    int height = 0;
    gtk_widget_get_preferred_height(FBox, nullptr, &height);
    gtk_layout_move(GTK_LAYOUT(FLayout), FBox, FArea.left, std::max(FArea.top, FArea.bottom - height));
}

} // namespace CrvWebView
