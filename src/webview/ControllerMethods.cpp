// The controller's side of the view: where it sits in the host's container, whether it shows, zoom and
// focus.
#include <algorithm>

#include "webview/BrowserView.h"
#include "webview/StatusBubble.h"

namespace CrvWebView {

void TBrowserView::ConnectControllerSignals() {
    g_signal_connect(FView, "focus-in-event", G_CALLBACK(OnFocusIn), this);
    g_signal_connect(FView, "focus-out-event", G_CALLBACK(OnFocusOut), this);
    g_signal_connect(FView, "notify::zoom-level", G_CALLBACK(OnZoomChanged), this);
}

// The container does not grow with its children: the view takes exactly the rectangle it is given.
void TBrowserView::ApplyBounds() {
    gtk_layout_move(GTK_LAYOUT(FParent), GTK_WIDGET(FView), FBounds.left, FBounds.top);
    const int width = std::max(FBounds.right - FBounds.left, 0);
    const int height = std::max(FBounds.bottom - FBounds.top, 0);
    gtk_widget_set_size_request(GTK_WIDGET(FView), width, height);
    // New bounds take effect now, as the host expects: a size request alone waits for the parent's
    // next allocation, which may already have passed in this resize, leaving the page a step behind.
    if (gtk_widget_get_visible(GTK_WIDGET(FView)) && gtk_widget_get_realized(FParent)) {
        gtk_widget_get_preferred_size(GTK_WIDGET(FView), nullptr, nullptr);
        GdkRectangle rect{static_cast<int>(FBounds.left), static_cast<int>(FBounds.top), width, height};
        gtk_widget_size_allocate(GTK_WIDGET(FView), &rect);
    }
    if (FStatusBubble) FStatusBubble->SetArea(FBounds);
}

HRESULT TBrowserView::get_IsVisible(BOOL* isVisible) {
    CRV_REQUIRE_OPEN();
    if (!isVisible) return E_POINTER;
    *isVisible = FVisible;
    return S_OK;
}

HRESULT TBrowserView::put_IsVisible(BOOL isVisible) {
    CRV_REQUIRE_OPEN();
    FVisible = isVisible != FALSE;
    gtk_widget_set_visible(GTK_WIDGET(FView), FVisible);
    if (!FVisible && FStatusBubble) FStatusBubble->Hide();
    return S_OK;
}

HRESULT TBrowserView::get_Bounds(RECT* bounds) {
    CRV_REQUIRE_OPEN();
    if (!bounds) return E_POINTER;
    *bounds = FBounds;
    return S_OK;
}

HRESULT TBrowserView::put_Bounds(RECT bounds) {
    CRV_REQUIRE_OPEN();
    FBounds = bounds;
    ApplyBounds();
    return S_OK;
}

HRESULT TBrowserView::get_ZoomFactor(double* zoomFactor) {
    CRV_REQUIRE_OPEN();
    if (!zoomFactor) return E_POINTER;
    *zoomFactor = webkit_web_view_get_zoom_level(FView);
    return S_OK;
}

HRESULT TBrowserView::put_ZoomFactor(double zoomFactor) {
    CRV_REQUIRE_OPEN();
    if (!(zoomFactor > 0)) return E_INVALIDARG;
    webkit_web_view_set_zoom_level(FView, zoomFactor);
    return S_OK;
}

HRESULT TBrowserView::SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) {
    CRV_REQUIRE_OPEN();
    if (!(zoomFactor > 0)) return E_INVALIDARG;
    put_Bounds(bounds);
    return put_ZoomFactor(zoomFactor);
}

void TBrowserView::OnZoomChanged(GObject*, GParamSpec*, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    const double zoom = webkit_web_view_get_zoom_level(self->FView);
    if (zoom == self->FZoom) return;
    self->FZoom = zoom;
    ComPtr<TBrowserView> keep(self);
    self->FZoomFactorChanged.Raise(self->AsController(), static_cast<IUnknown*>(nullptr));
}

HRESULT TBrowserView::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) {
    CRV_REQUIRE_OPEN();
    GtkWidget* widget = GTK_WIDGET(FView);
    gtk_widget_grab_focus(widget);
    // Next and Previous start at the page's first or last focusable element.
    if (reason == COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT) gtk_widget_child_focus(widget, GTK_DIR_TAB_FORWARD);
    if (reason == COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS)
        gtk_widget_child_focus(widget, GTK_DIR_TAB_BACKWARD);
    return S_OK;
}

gboolean TBrowserView::OnFocusIn(GtkWidget*, GdkEvent*, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    ComPtr<TBrowserView> keep(self);
    self->FGotFocus.Raise(self->AsController(), static_cast<IUnknown*>(nullptr));
    return FALSE;
}

gboolean TBrowserView::OnFocusOut(GtkWidget*, GdkEvent*, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    ComPtr<TBrowserView> keep(self);
    self->FKeysDown.clear();
    self->FLostFocus.Raise(self->AsController(), static_cast<IUnknown*>(nullptr));
    return FALSE;
}

HRESULT TBrowserView::get_ParentWindow(HWND* parentWindow) {
    CRV_REQUIRE_OPEN();
    if (!parentWindow) return E_POINTER;
    *parentWindow = FParent;
    return S_OK;
}

HRESULT TBrowserView::put_ParentWindow(HWND parentWindow) {
    CRV_REQUIRE_OPEN();
    if (!parentWindow || !GTK_IS_LAYOUT(parentWindow)) return E_INVALIDARG;
    auto* parent = static_cast<GtkWidget*>(parentWindow);
    if (parent == FParent) return S_OK;
    // The view object is ours (we hold a reference), so taking it out does not end it.
    gtk_container_remove(GTK_CONTAINER(FParent), GTK_WIDGET(FView));
    FParent = parent;
    gtk_layout_put(GTK_LAYOUT(FParent), GTK_WIDGET(FView), FBounds.left, FBounds.top);
    if (FStatusBubble) FStatusBubble->SetParent(parent);
    ApplyBounds();
    return S_OK;
}

HRESULT TBrowserView::NotifyParentWindowPositionChanged() {
    CRV_REQUIRE_OPEN();
    return S_OK;
}

} // namespace CrvWebView
