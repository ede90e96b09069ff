// The edit box over GtkEntry, held in the control's layout; the left button is the entry's primary
// icon.
#include "platform/Edit.h"

#include <gtk/gtk.h>

#include <string>

#include "platform/ImageList.h"
#include "platform/gtk/ControlTree.h"

namespace Platform {

struct TEdit::TImpl {
    TEdit* Owner = nullptr;
    GtkWidget* Entry = nullptr;
    GtkCssProvider* Css = nullptr;
    const TSizedImageList* Images = nullptr;
    int ImageIndex = -1;

    void ShowLeftImage() {
        if (!Entry) return;
        void* picture = Images ? Images->Picture(ImageIndex, !gtk_widget_get_sensitive(Entry),
                                                 gtk_widget_get_scale_factor(Entry))
                               : nullptr;
        // Given as an icon, the picture is drawn at the list's size whatever the screen's scale.
        gtk_entry_set_icon_from_gicon(GTK_ENTRY(Entry), GTK_ENTRY_ICON_PRIMARY,
                                      picture ? G_ICON(picture) : nullptr);
    }

    static gboolean OnKeyRelease(GtkWidget*, GdkEventKey*, gpointer data) {
        auto* self = static_cast<TImpl*>(data);
        if (self->Owner->OnKeyUp) self->Owner->OnKeyUp();
        return FALSE;
    }

    // The control's own container passes the focus on to the entry.
    static void OnGrabFocus(GtkWidget*, gpointer data) {
        auto* self = static_cast<TImpl*>(data);
        if (self->Entry) gtk_widget_grab_focus(self->Entry);
    }

    static void OnScaleChanged(GObject*, GParamSpec*, gpointer data) {
        static_cast<TImpl*>(data)->ShowLeftImage();
    }
};

TEdit::TEdit() : FEdit(std::make_unique<TImpl>()) {
    FEdit->Owner = this;
    GtkWidget* layout = TControlAccess::Widget(*this);
    if (!layout) return;
    GtkWidget* entry = gtk_entry_new();
    FEdit->Entry = entry;
    FEdit->Css = gtk_css_provider_new();
    gtk_style_context_add_provider(gtk_widget_get_style_context(entry), GTK_STYLE_PROVIDER(FEdit->Css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    SetFont({}, 0);
    gtk_widget_set_can_focus(layout, FALSE);
    g_signal_connect(layout, "grab-focus", G_CALLBACK(TImpl::OnGrabFocus), FEdit.get());
    g_signal_connect(entry, "key-release-event", G_CALLBACK(TImpl::OnKeyRelease), FEdit.get());
    g_signal_connect(entry, "notify::scale-factor", G_CALLBACK(TImpl::OnScaleChanged), FEdit.get());
    gtk_layout_put(GTK_LAYOUT(layout), entry, 0, 0);
    gtk_widget_show(entry);
}

TEdit::~TEdit() {
    if (FEdit->Entry) g_signal_handlers_disconnect_by_data(FEdit->Entry, FEdit.get());
    if (GtkWidget* layout = TControlAccess::Widget(*this))
        g_signal_handlers_disconnect_by_data(layout, FEdit.get());
    if (FEdit->Css) g_object_unref(FEdit->Css);
}

std::string TEdit::Text() const {
    return FEdit->Entry ? gtk_entry_get_text(GTK_ENTRY(FEdit->Entry)) : std::string();
}

void TEdit::SetText(const std::string& text) {
    if (FEdit->Entry) gtk_entry_set_text(GTK_ENTRY(FEdit->Entry), text.c_str());
}

void TEdit::SetPasswordChar(char32_t passwordChar) {
    if (!FEdit->Entry) return;
    gtk_entry_set_visibility(GTK_ENTRY(FEdit->Entry), passwordChar == 0);
    if (passwordChar != 0) gtk_entry_set_invisible_char(GTK_ENTRY(FEdit->Entry), passwordChar);
}

void TEdit::SetFont(const std::string& family, int pixelHeight) {
    if (!FEdit->Css) return;
    // Vertical padding and the theme's minimum height go, so that a box the height of a classic
    // edit (about twice the font's size) still shows its text whole.
    std::string css = "entry { min-height: 0; padding-top: 0; padding-bottom: 0;";
    if (!family.empty()) css += " font-family: \"" + family + "\", sans-serif;";
    if (pixelHeight > 0) css += " font-size: " + std::to_string(pixelHeight) + "px;";
    css += " }";
    gtk_css_provider_load_from_data(FEdit->Css, css.c_str(), -1, nullptr);
}

void TEdit::SetEnabled(bool enabled) {
    if (!FEdit->Entry) return;
    gtk_widget_set_sensitive(FEdit->Entry, enabled);
    FEdit->ShowLeftImage();
}

bool TEdit::Enabled() const {
    return FEdit->Entry && gtk_widget_get_sensitive(FEdit->Entry);
}

void TEdit::SetLeftButtonImage(const TSizedImageList* images, int imageIndex) {
    FEdit->Images = images;
    FEdit->ImageIndex = imageIndex;
    FEdit->ShowLeftImage();
}

void TEdit::Resized() {
    if (FEdit->Entry) gtk_widget_set_size_request(FEdit->Entry, ClientRect().Right, ClientRect().Bottom);
}

} // namespace Platform
