// Child controls over GtkLayout: each control is a layout its children (and the browser) are put
// into at a position; aligned children are arranged by the parent as the client area changes.
#include <gtk/gtk.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/Application.h"
#include "platform/Control.h"
#include "platform/gtk/ControlTree.h"

namespace Platform {

struct TWinControl::TImpl {
    TWinControl* Owner = nullptr;
    GtkWidget* Widget = nullptr;
    TWinControl* Parent = nullptr;
    TForm* RootOf = nullptr; // set on a form's client control
    std::vector<TWinControl*> Children;
    TAlign Align = TAlign::None;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
    bool HasFocus = false;

    void SetGeometry(int left, int top, int width, int height) {
        const bool resized = width != Width || height != Height;
        Left = left;
        Top = top;
        Width = std::max(0, width);
        Height = std::max(0, height);
        if (Widget && Parent && Parent->FImpl->Widget) {
            gtk_layout_move(GTK_LAYOUT(Parent->FImpl->Widget), Widget, Left, Top);
            gtk_widget_set_size_request(Widget, Width, Height);
            // Arranging runs inside the parent's allocation, where a size request alone would only
            // take effect on some later pass: allocate the child now as well.
            if (gtk_widget_get_visible(Widget)) {
                gtk_widget_get_preferred_size(Widget, nullptr, nullptr);
                GdkRectangle rect{Left, Top, Width, Height};
                gtk_widget_size_allocate(Widget, &rect);
            }
        }
        if (resized) {
            Arrange();
            Owner->Resized();
        }
    }

    // Top and bottom children take their height from the edges, the client child the rest.
    void Arrange() {
        int top = 0, bottom = Height;
        for (auto* child : Children) {
            auto& c = *child->FImpl;
            if (!c.Visible) continue;
            if (c.Align == TAlign::Top) {
                c.SetGeometry(0, top, Width, c.Height);
                top += c.Height;
            } else if (c.Align == TAlign::Bottom) {
                bottom -= c.Height;
                c.SetGeometry(0, bottom, Width, c.Height);
            }
        }
        for (auto* child : Children) {
            auto& c = *child->FImpl;
            if (c.Visible && c.Align == TAlign::Client)
                c.SetGeometry(0, top, Width, std::max(0, bottom - top));
        }
    }

    void Detach() {
        if (!Parent) return;
        auto& siblings = Parent->FImpl->Children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), Owner), siblings.end());
        if (Widget && Parent->FImpl->Widget && gtk_widget_get_parent(Widget) == Parent->FImpl->Widget)
            gtk_container_remove(GTK_CONTAINER(Parent->FImpl->Widget), Widget);
        Parent->FImpl->Arrange();
        Parent = nullptr;
    }

    static void OnSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer data) {
        auto* self = static_cast<TImpl*>(data);
        if (self->RootOf) self->SetGeometry(0, 0, allocation->width, allocation->height);
    }
};

TWinControl::TWinControl() : FImpl(std::make_unique<TImpl>()) {
    FImpl->Owner = this;
    if (!EnsureUiInitialized()) return;
    FImpl->Widget = gtk_layout_new(nullptr, nullptr);
    g_object_ref_sink(FImpl->Widget);
    gtk_widget_set_can_focus(FImpl->Widget, TRUE);
    g_signal_connect(FImpl->Widget, "size-allocate", G_CALLBACK(TImpl::OnSizeAllocate), FImpl.get());
    gtk_widget_show(FImpl->Widget);
}

TWinControl::~TWinControl() {
    for (auto* child : std::vector<TWinControl*>(FImpl->Children))
        child->FImpl->Detach();
    FImpl->Detach();
    if (FImpl->Widget) {
        g_signal_handlers_disconnect_by_data(FImpl->Widget, FImpl.get());
        gtk_widget_destroy(FImpl->Widget);
        g_object_unref(FImpl->Widget);
    }
}

void* TWinControl::Handle() const {
    return FImpl->Widget;
}

void TWinControl::SetParent(TForm* form) {
    SetParent(form ? &form->ClientControl() : nullptr);
}

void TWinControl::SetParent(TWinControl* control) {
    if (control == FImpl->Parent) return;
    FImpl->Detach();
    if (control) {
        FImpl->Parent = control;
        control->FImpl->Children.push_back(this);
        if (FImpl->Widget && control->FImpl->Widget)
            gtk_layout_put(GTK_LAYOUT(control->FImpl->Widget), FImpl->Widget, FImpl->Left, FImpl->Top);
        control->FImpl->Arrange();
    }
    ParentChanged();
}

bool TWinControl::HasParent() const {
    return FImpl->Parent != nullptr;
}

TForm* TWinControl::ParentForm() const {
    const TWinControl* c = this;
    while (c->FImpl->Parent)
        c = c->FImpl->Parent;
    return c->FImpl->RootOf;
}

void TWinControl::SetAlign(TAlign align) {
    FImpl->Align = align;
    if (FImpl->Parent) FImpl->Parent->FImpl->Arrange();
}

void TWinControl::SetHeight(int height) {
    FImpl->Height = height;
    if (FImpl->Parent) FImpl->Parent->FImpl->Arrange();
    if (FImpl->Align == TAlign::None) FImpl->SetGeometry(FImpl->Left, FImpl->Top, FImpl->Width, height);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    FImpl->SetGeometry(left, top, width, height);
}

void TWinControl::SetVisible(bool visible) {
    if (visible == FImpl->Visible) return;
    FImpl->Visible = visible;
    if (FImpl->Widget) gtk_widget_set_visible(FImpl->Widget, visible);
    if (FImpl->Parent) FImpl->Parent->FImpl->Arrange();
    VisibleChanged();
}

bool TWinControl::Visible() const {
    return FImpl->Visible;
}

TRect TWinControl::ClientRect() const {
    return {0, 0, FImpl->Width, FImpl->Height};
}

void TWinControl::SetFocus() {
    if (FImpl->Widget) gtk_widget_grab_focus(FImpl->Widget);
}

void TWinControl::SetTabStop(bool tabStop) {
    if (FImpl->Widget) gtk_widget_set_can_focus(FImpl->Widget, tabStop);
}

bool TWinControl::Focused() const {
    return FImpl->HasFocus;
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter();
}

void TWinControl::DoExit() {
    if (OnExit) OnExit();
}

GtkWidget* TControlAccess::Widget(TWinControl& control) {
    return control.FImpl->Widget;
}

void TControlAccess::MakeClientOf(TWinControl& control, TForm* form) {
    control.FImpl->RootOf = form;
}

void TControlAccess::SetRootSize(TWinControl& root, int width, int height) {
    root.FImpl->SetGeometry(0, 0, width, height);
}

std::vector<TWinControl*> TControlAccess::Tree(TWinControl& root) {
    std::vector<TWinControl*> all{&root};
    for (std::size_t i = 0; i < all.size(); ++i)
        for (auto* child : all[i]->FImpl->Children)
            all.push_back(child);
    return all;
}

void TControlAccess::FocusMoved(TWinControl& root, GtkWidget* widget) {
    std::vector<TWinControl*> entering, leaving;
    for (auto* c : Tree(root)) {
        GtkWidget* w = c->FImpl->Widget;
        const bool inside = widget && w && (widget == w || gtk_widget_is_ancestor(widget, w));
        if (inside == c->FImpl->HasFocus) continue;
        c->FImpl->HasFocus = inside;
        (inside ? entering : leaving).push_back(c);
    }
    // The innermost control is left first, the outermost entered first.
    for (auto it = leaving.rbegin(); it != leaving.rend(); ++it)
        (*it)->DoExit();
    for (auto* c : entering)
        c->DoEnter();
}

void TControlAccess::BroadcastSysCommand(TWinControl& root, TSysCommand command) {
    for (auto* c : Tree(root))
        c->SysCommand(command);
}

// A marquee bar: GTK pulses it from a timer while the bar is shown. Once pulsed, a bar animates on
// every frame of its window, hidden or not: hiding it leaves pulse mode too, or the loaded page's
// window would wake 80 times a second for the rest of the run.
TProgressBar::TProgressBar() {
    GtkWidget* layout = TControlAccess::Widget(*this);
    if (!layout) return;
    GtkWidget* bar = gtk_progress_bar_new();
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, "progressbar trough, progressbar progress { min-height: 4px; }", -1,
                                    nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(bar), GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
    gtk_progress_bar_set_pulse_step(GTK_PROGRESS_BAR(bar), 0.05);
    gtk_layout_put(GTK_LAYOUT(layout), bar, 0, 0);
    gtk_widget_show(bar);
    FBar = bar;
    VisibleChanged();
}

TProgressBar::~TProgressBar() {
    if (FPulseTimer) g_source_remove(FPulseTimer);
}

void TProgressBar::VisibleChanged() {
    if (!FBar || Visible() == (FPulseTimer != 0)) return;
    if (!Visible()) {
        g_source_remove(std::exchange(FPulseTimer, 0u));
        gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(FBar), 0.0); // leaves pulse mode
        return;
    }
    FPulseTimer = g_timeout_add(
        50,
        [](gpointer data) -> gboolean {
            gtk_progress_bar_pulse(GTK_PROGRESS_BAR(data));
            return G_SOURCE_CONTINUE;
        },
        FBar);
}

void TProgressBar::Resized() {
    if (FBar)
        gtk_widget_set_size_request(static_cast<GtkWidget*>(FBar), ClientRect().Right, ClientRect().Bottom);
}

} // namespace Platform
