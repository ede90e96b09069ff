// The status bubble: the address of the link under the pointer, at the lower left of the view.
#pragma once

#include <string>

#include <gtk/gtk.h>

#include "abi/WebView2.h"

namespace CrvWebView {

class TStatusBubble {
public:
    explicit TStatusBubble(GtkWidget* layout);
    ~TStatusBubble();
    TStatusBubble(const TStatusBubble&) = delete;
    TStatusBubble& operator=(const TStatusBubble&) = delete;

    void SetParent(GtkWidget* layout);
    // The view's rectangle in the layout.
    void SetArea(const WebView2::RECT& area);
    void Show(const std::string& text);
    void Hide();

private:
    void Place();

    GtkWidget* FLayout;
    GtkWidget* FBox;
    GtkWidget* FLabel;
    WebView2::RECT FArea{};
};

} // namespace CrvWebView
