// Top-level windows over GtkWindow.
#include "platform/Form.h"

#include <gtk/gtk.h>

#include "platform/Application.h"

namespace Platform {

struct TForm::TImpl {
    TForm* Owner = nullptr;
    GtkWidget* Window = nullptr;
    std::string Caption;

    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
        static_cast<TImpl*>(data)->Owner->Close();
        return TRUE; // Close() decides; GTK never destroys the window by itself
    }
};

TForm::TForm() : FImpl(std::make_unique<TImpl>()) {
    FImpl->Owner = this;
    if (!EnsureUiInitialized()) return;
    FImpl->Window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    g_object_ref_sink(FImpl->Window);
    g_signal_connect(FImpl->Window, "delete-event", G_CALLBACK(TImpl::OnDelete), FImpl.get());
}

TForm::~TForm() {
    if (FImpl->Window) {
        gtk_widget_destroy(FImpl->Window);
        g_object_unref(FImpl->Window);
    }
}

void TForm::SetCaption(const std::string& caption) {
    FImpl->Caption = caption;
    if (FImpl->Window) gtk_window_set_title(GTK_WINDOW(FImpl->Window), caption.c_str());
}

std::string TForm::Caption() const {
    return FImpl->Caption;
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (!FImpl->Window) return;
    gtk_window_set_default_size(GTK_WINDOW(FImpl->Window), width, height);
    gtk_window_resize(GTK_WINDOW(FImpl->Window), width, height);
    gtk_window_move(GTK_WINDOW(FImpl->Window), left, top);
}

void TForm::Show() {
    if (FImpl->Window) gtk_widget_show_all(FImpl->Window);
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

} // namespace Platform
