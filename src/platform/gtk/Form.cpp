// Top-level windows over GtkWindow: a box holding the client control, and the window keys.
#include "platform/Form.h"

#include <gtk/gtk.h>

#include <algorithm>

#include "platform/Application.h"
#include "platform/Control.h"
#include "platform/Dialogs.h"
#include "platform/gtk/ControlTree.h"
#include "platform/gtk/MenuAccess.h"

namespace Platform {

struct TForm::TImpl {
    TForm* Owner = nullptr;
    GtkWidget* Window = nullptr;
    GtkWidget* Box = nullptr;
    TWinControl Client;
    std::string Caption;
    int Left = 0, Top = 0, Width = 320, Height = 240;
    TSizeConstraints Constraints;
    TPosition Position = TPosition::Designed;
    TBorderStyle Border = TBorderStyle::Sizeable;
    TWindowState State = TWindowState::Normal;
    // A state asked for that the window manager has not reported yet: reports of earlier changes
    // still on their way must not undo it. Given up after a while, for a request that is refused.
    bool StatePending = false;
    guint PendingTimer = 0;
    bool StayOnTop = false;
    bool Shown = false;

    GtkWindow* Win() const { return GTK_WINDOW(Window); }

    // Sizes within the limits, as the window manager will keep them.
    int ClampWidth(int w) const {
        if (Constraints.MaxWidth > 0) w = std::min(w, Constraints.MaxWidth);
        return std::max(w, Constraints.MinWidth);
    }
    int ClampHeight(int h) const {
        if (Constraints.MaxHeight > 0) h = std::min(h, Constraints.MaxHeight);
        return std::max(h, Constraints.MinHeight);
    }

    void ApplySize() {
        Width = ClampWidth(Width);
        Height = ClampHeight(Height);
        if (!Window) {
            TControlAccess::SetRootSize(Client, Width, Height);
            return;
        }
        gtk_window_set_default_size(Win(), Width, Height);
        gtk_window_resize(Win(), Width, Height);
        ApplyFixedSize();
    }

    // A window that cannot be resized takes the size its content asks for, not its default size.
    void ApplyFixedSize() {
        const bool fixed = !gtk_window_get_resizable(Win());
        gtk_widget_set_size_request(Box, fixed ? Width : -1, fixed ? Height : -1);
    }

    // Before the window is shown only the placement is kept: a move then would fix the first
    // position for the window manager whatever the placement says.
    void ApplyPosition() {
        if (!Window) return;
        if (Shown || Position == TPosition::Designed) {
            gtk_window_move(Win(), Left, Top);
        } else if (Position == TPosition::ScreenCenter) {
            GdkDisplay* display = gtk_widget_get_display(Window);
            GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
            if (!monitor) monitor = gdk_display_get_monitor(display, 0);
            GdkRectangle area{0, 0, 0, 0};
            if (monitor) gdk_monitor_get_workarea(monitor, &area);
            gtk_window_move(Win(), area.x + (area.width - Width) / 2, area.y + (area.height - Height) / 2);
        }
    }

    void ApplyConstraints() {
        if (!Window) return;
        GdkGeometry hints{};
        hints.min_width = std::max(1, Constraints.MinWidth);
        hints.min_height = std::max(1, Constraints.MinHeight);
        hints.max_width = Constraints.MaxWidth > 0 ? Constraints.MaxWidth : G_MAXSHORT;
        hints.max_height = Constraints.MaxHeight > 0 ? Constraints.MaxHeight : G_MAXSHORT;
        gtk_window_set_geometry_hints(Win(), nullptr, &hints,
                                      static_cast<GdkWindowHints>(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE));
    }

    void ApplyBorder() {
        if (!Window) return;
        const bool sizeable = Border == TBorderStyle::None || Border == TBorderStyle::Sizeable ||
                              Border == TBorderStyle::SizeToolWin;
        GdkWindowTypeHint hint = GDK_WINDOW_TYPE_HINT_NORMAL;
        if (Border == TBorderStyle::Dialog) hint = GDK_WINDOW_TYPE_HINT_DIALOG;
        if (Border == TBorderStyle::ToolWindow || Border == TBorderStyle::SizeToolWin)
            hint = GDK_WINDOW_TYPE_HINT_UTILITY;
        gtk_window_set_decorated(Win(), Border != TBorderStyle::None);
        gtk_window_set_resizable(Win(), sizeable);
        ApplyFixedSize();
        if (gtk_window_get_type_hint(Win()) == hint) return;
        // The type hint only takes effect while the window is unmapped; window managers refuse
        // to maximize a dialog, which full screen needs.
        if (!gtk_widget_get_mapped(Window)) return gtk_window_set_type_hint(Win(), hint);
        int left = 0, top = 0;
        gtk_window_get_position(Win(), &left, &top);
        gtk_widget_hide(Window);
        gtk_window_set_type_hint(Win(), hint);
        gtk_window_move(Win(), left, top);
        gtk_widget_show(Window);
        // A state change still on its way to the window manager was lost with the unmap.
        ApplyState();
    }

    void ApplyState() {
        if (!Window) return;
        switch (State) {
        case TWindowState::Maximized:
            gtk_window_deiconify(Win());
            gtk_window_maximize(Win());
            break;
        case TWindowState::Minimized:
            gtk_window_iconify(Win());
            break;
        case TWindowState::Normal:
            gtk_window_deiconify(Win());
            gtk_window_unmaximize(Win());
            break;
        }
    }

    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
        static_cast<TImpl*>(data)->Owner->Close();
        return TRUE; // Close() decides; GTK never destroys the window by itself
    }

    static void OnSetFocus(GtkWindow*, GtkWidget* widget, gpointer data) {
        TControlAccess::FocusMoved(static_cast<TImpl*>(data)->Client, widget);
    }

    static gboolean OnConfigure(GtkWidget* window, GdkEventConfigure*, gpointer data) {
        auto* self = static_cast<TImpl*>(data);
        gtk_window_get_position(GTK_WINDOW(window), &self->Left, &self->Top);
        if (self->State == TWindowState::Normal)
            gtk_window_get_size(GTK_WINDOW(window), &self->Width, &self->Height);
        return FALSE;
    }

    void RequestState(TWindowState state) {
        State = state;
        StatePending = true;
        if (PendingTimer) g_source_remove(PendingTimer);
        PendingTimer = g_timeout_add(1000, OnPendingTimeout, this);
        ApplyState();
    }

    void EndPending() {
        StatePending = false;
        if (PendingTimer) g_source_remove(PendingTimer);
        PendingTimer = 0;
    }

    static gboolean OnPendingTimeout(gpointer data) {
        auto* self = static_cast<TImpl*>(data);
        self->PendingTimer = 0;
        self->StatePending = false;
        if (self->Window) {
            const auto s = gdk_window_get_state(gtk_widget_get_window(self->Window));
            self->State = StateOf(s);
        }
        return G_SOURCE_REMOVE;
    }

    static TWindowState StateOf(GdkWindowState s) {
        return (s & GDK_WINDOW_STATE_ICONIFIED)   ? TWindowState::Minimized
               : (s & GDK_WINDOW_STATE_MAXIMIZED) ? TWindowState::Maximized
                                                  : TWindowState::Normal;
    }

    static gboolean OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer data) {
        auto* self = static_cast<TImpl*>(data);
        const TWindowState reported = StateOf(event->new_window_state);
        if (!self->StatePending || reported == self->State) {
            self->EndPending();
            self->State = reported;
        }
        if (event->changed_mask & GDK_WINDOW_STATE_ICONIFIED)
            TControlAccess::BroadcastSysCommand(self->Client, self->State == TWindowState::Minimized
                                                                  ? TSysCommand::Minimize
                                                                  : TSysCommand::Restore);
        return FALSE;
    }

    static void OnRealize(GtkWidget*, gpointer data) { static_cast<TImpl*>(data)->Owner->WindowCreated(); }
};

TForm::TForm() : FImpl(std::make_unique<TImpl>()) {
    auto& d = *FImpl;
    d.Owner = this;
    TControlAccess::MakeClientOf(d.Client, this);
    if (!EnsureUiInitialized()) return;
    d.Window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    g_object_ref_sink(d.Window);
    d.Box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_add(GTK_CONTAINER(d.Window), d.Box);
    GtkWidget* client = TControlAccess::Widget(d.Client);
    gtk_box_pack_end(GTK_BOX(d.Box), client, TRUE, TRUE, 0);
    gtk_widget_show(d.Box);
    g_signal_connect(d.Window, "delete-event", G_CALLBACK(TImpl::OnDelete), &d);
    g_signal_connect(d.Window, "set-focus", G_CALLBACK(TImpl::OnSetFocus), &d);
    g_signal_connect(d.Window, "configure-event", G_CALLBACK(TImpl::OnConfigure), &d);
    g_signal_connect(d.Window, "window-state-event", G_CALLBACK(TImpl::OnWindowState), &d);
    g_signal_connect(d.Window, "realize", G_CALLBACK(TImpl::OnRealize), &d);
    gtk_window_set_default_size(d.Win(), d.Width, d.Height);
}

TForm::~TForm() {
    SetMenu(nullptr);
    FImpl->EndPending();
    if (FImpl->Window) {
        g_signal_handlers_disconnect_by_data(FImpl->Window, FImpl.get());
        gtk_widget_destroy(FImpl->Window);
        g_object_unref(FImpl->Window);
    }
}

void TForm::SetCaption(const std::string& caption) {
    FImpl->Caption = caption;
    if (FImpl->Window) gtk_window_set_title(FImpl->Win(), caption.c_str());
}

std::string TForm::Caption() const {
    return FImpl->Caption;
}

void TForm::SetBounds(int left, int top, int width, int height) {
    FImpl->Left = left;
    FImpl->Top = top;
    FImpl->Width = width;
    FImpl->Height = height;
    FImpl->ApplySize();
    if (FImpl->Shown) FImpl->ApplyPosition();
}

// GTK sizes a window by its content: the frame is the window manager's.
void TForm::SetClientSize(int width, int height) {
    SetBounds(FImpl->Left, FImpl->Top, width, height);
}

void TForm::SetLeft(int left) {
    SetBounds(left, FImpl->Top, FImpl->Width, FImpl->Height);
}
void TForm::SetTop(int top) {
    SetBounds(FImpl->Left, top, FImpl->Width, FImpl->Height);
}
void TForm::SetWidth(int width) {
    SetBounds(FImpl->Left, FImpl->Top, width, FImpl->Height);
}
void TForm::SetHeight(int height) {
    SetBounds(FImpl->Left, FImpl->Top, FImpl->Width, height);
}
int TForm::Left() const {
    return FImpl->Left;
}
int TForm::Top() const {
    return FImpl->Top;
}
int TForm::Width() const {
    return FImpl->Width;
}
int TForm::Height() const {
    return FImpl->Height;
}

void TForm::SetConstraints(const TSizeConstraints& constraints) {
    FImpl->Constraints = constraints;
    FImpl->ApplyConstraints();
    FImpl->ApplySize();
}

void TForm::SetPosition(TPosition position) {
    FImpl->Position = position;
}

void TForm::SetBorderStyle(TBorderStyle style) {
    FImpl->Border = style;
    FImpl->ApplyBorder();
}

void TForm::SetBorderIcons(bool minimize, bool maximize) {
    if (!FImpl->Window) return;
    int functions = GDK_FUNC_MOVE | GDK_FUNC_CLOSE | GDK_FUNC_RESIZE;
    int decorations = GDK_DECOR_BORDER | GDK_DECOR_RESIZEH | GDK_DECOR_TITLE | GDK_DECOR_MENU;
    if (minimize) functions |= GDK_FUNC_MINIMIZE, decorations |= GDK_DECOR_MINIMIZE;
    if (maximize) functions |= GDK_FUNC_MAXIMIZE, decorations |= GDK_DECOR_MAXIMIZE;
    // Both live on the native window, which this makes if need be. Some window managers go by the
    // functions, others by the boxes drawn.
    gtk_widget_realize(FImpl->Window);
    GdkWindow* window = gtk_widget_get_window(FImpl->Window);
    gdk_window_set_functions(window, static_cast<GdkWMFunction>(functions));
    gdk_window_set_decorations(window, static_cast<GdkWMDecoration>(decorations));
}

TBorderStyle TForm::BorderStyle() const {
    return FImpl->Border;
}

void TForm::SetWindowState(TWindowState state) {
    if (FImpl->Window && gtk_widget_get_mapped(FImpl->Window)) {
        FImpl->RequestState(state);
        return;
    }
    FImpl->State = state;
    FImpl->ApplyState();
}

TWindowState TForm::WindowState() const {
    return FImpl->State;
}

void TForm::SetStayOnTop(bool stayOnTop) {
    FImpl->StayOnTop = stayOnTop;
    if (FImpl->Window) gtk_window_set_keep_above(FImpl->Win(), stayOnTop);
}

bool TForm::StayOnTop() const {
    return FImpl->StayOnTop;
}

bool TForm::Visible() const {
    return FImpl->Window && gtk_widget_get_visible(FImpl->Window);
}

void TForm::Show() {
    if (!FImpl->Window) return;
    FImpl->ApplyPosition();
    gtk_widget_show(FImpl->Window);
    FImpl->Shown = true;
    gtk_window_present(FImpl->Win());
}

void TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    if (!canClose) return;
    if (FImpl->Window) gtk_widget_hide(FImpl->Window);
    if (OnClose) OnClose();
}

void* TForm::Handle() const {
    return FImpl->Window;
}

TWinControl& TForm::ClientControl() {
    return FImpl->Client;
}

bool TForm::IsShortCut(const TKeyMessage& message) {
    if (FMenu && TMenuAccess::IsShortCut(*FMenu, message)) return true;
    return OnShortCut && OnShortCut(message);
}

void TForm::SetMenu(TMainMenu* menu) {
    if (FMenu == menu) return;
    if (FMenu) {
        GtkWidget* bar = TMenuAccess::Bar(*FMenu);
        if (bar && FImpl->Box) gtk_container_remove(GTK_CONTAINER(FImpl->Box), bar);
        TMenuAccess::SetForm(*FMenu, nullptr);
    }
    if (menu && menu->Form()) menu->Form()->SetMenu(nullptr);
    FMenu = menu;
    if (!menu) return;
    // The window keeps its outer size: the bar's room comes from the client area.
    GtkWidget* bar = TMenuAccess::Bar(*menu);
    if (bar && FImpl->Box) {
        gtk_box_pack_start(GTK_BOX(FImpl->Box), bar, FALSE, FALSE, 0);
        gtk_box_reorder_child(GTK_BOX(FImpl->Box), bar, 0);
    }
    TMenuAccess::SetForm(*menu, this);
}

// A nested loop runs until a result is set or the window hides, which is how closing shows.
int TForm::ShowModal() {
    FModalResult = mrNone;
    GtkWidget* window = FImpl->Window;
    if (!window) return FModalResult = mrCancel;
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    FModalLoop = loop;
    const gulong hidden = g_signal_connect_swapped(window, "hide", G_CALLBACK(g_main_loop_quit), loop);
    gtk_window_set_modal(FImpl->Win(), TRUE);
    Show();
    for (;;) {
        if (FModalResult == mrNone && gtk_widget_get_visible(window)) g_main_loop_run(loop);
        if (!gtk_widget_get_visible(window)) break;
        if (FModalResult == mrNone) continue; // hidden and shown again, as a new border style does
        // A result closes the form unless OnCloseQuery refuses; then the form stays and waits on.
        Close();
        if (!gtk_widget_get_visible(window)) break;
        FModalResult = mrNone;
    }
    g_signal_handler_disconnect(window, hidden);
    gtk_window_set_modal(FImpl->Win(), FALSE);
    FModalLoop = nullptr;
    g_main_loop_unref(loop);
    if (FModalResult == mrNone) FModalResult = mrCancel;
    return FModalResult;
}

void TForm::SetModalResult(int result) {
    FModalResult = result;
    if (FModalLoop && result != mrNone) g_main_loop_quit(static_cast<GMainLoop*>(FModalLoop));
}

} // namespace Platform
