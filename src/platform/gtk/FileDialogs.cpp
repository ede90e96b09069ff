// File dialogs over GtkFileChooserDialog.
#include "platform/FileDialogs.h"

#include <fnmatch.h>
#include <gtk/gtk.h>

#include <filesystem>

#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/gtk/ModalDialogs.h"

namespace Platform {

namespace {

// Masks behave as users of file dialogs expect: without case, and "*.*" also matches names
// without a dot.
gboolean MatchesMask(const GtkFileFilterInfo* info, gpointer data) {
    const auto* mask = static_cast<const char*>(data);
    if (!info->display_name) return FALSE;
    if (g_str_equal(mask, "*.*")) return TRUE;
    return fnmatch(mask, info->display_name, FNM_CASEFOLD) == 0;
}

std::string TakeString(gchar* text) {
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

// The toolkit's own translation of one of its texts, so buttons read as in its other dialogs.
const char* GtkText(const char* text) {
    return g_dgettext("gtk30", text);
}

GtkWidget* FindChooserWidget(GtkWidget* widget) {
    if (GTK_IS_FILE_CHOOSER_WIDGET(widget)) return widget;
    if (!GTK_IS_CONTAINER(widget)) return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    GtkWidget* found = nullptr;
    for (GList* item = children; item && !found; item = item->next)
        found = FindChooserWidget(GTK_WIDGET(item->data));
    g_list_free(children);
    return found;
}

// An open dialog has no name field until the user asks for the location entry; it is opened with the
// name in it once the dialog is on screen, as mapping the chooser restores its saved location mode.
void TypeNameWhenShown(GtkWidget* dialog, const std::string& name) {
    GtkWidget* widget = FindChooserWidget(dialog);
    if (!widget) return;
    g_signal_connect_data(
        widget, "map", G_CALLBACK(+[](GtkWidget* chooser, gpointer data) {
            g_signal_emit_by_name(chooser, "location-popup", static_cast<const char*>(data));
            g_signal_handlers_disconnect_matched(chooser, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, data);
        }),
        g_strdup(name.c_str()), [](gpointer data, GClosure*) { g_free(data); }, G_CONNECT_AFTER);
}

} // namespace

TFileDialog::TFileDialog(TFileDialogKind kind) : FKind(kind) {}

TFileDialog::~TFileDialog() {
    if (FDestroyed) *FDestroyed = true;
    if (FShowing) gtk_dialog_response(GTK_DIALOG(FShowing), GTK_RESPONSE_CANCEL);
}

TFileDialogResult TFileDialog::Execute(TForm* fallbackOwner) {
    if (!EnsureUiInitialized()) return TFileDialogResult::Cancelled;
    GtkWindow* owner = ActiveWindow();
    if (!owner && fallbackOwner) owner = GTK_WINDOW(fallbackOwner->Handle());

    const bool save = FKind == TFileDialogKind::Save;
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        nullptr, owner, save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN,
        GtkText("_Cancel"), GTK_RESPONSE_CANCEL, GtkText(save ? "_Save" : "_Open"), GTK_RESPONSE_ACCEPT,
        nullptr);
    auto* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    // Without a title of the caller's, the dialog is named after what it does.
    gtk_window_set_title(GTK_WINDOW(dialog), Title.empty() ? GtkText(save ? "Save" : "Open") : Title.c_str());
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, save && OverwritePrompt);

    std::vector<GtkFileFilter*> filters;
    for (const auto& type : FileTypes) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, type.DisplayName.c_str());
        gtk_file_filter_add_custom(filter, GTK_FILE_FILTER_DISPLAY_NAME, MatchesMask,
                                   g_strdup(type.FileMask.c_str()), g_free);
        gtk_file_chooser_add_filter(chooser, filter);
        filters.push_back(filter);
    }
    if (!filters.empty()) {
        const bool inRange = FileTypeIndex >= 1 && FileTypeIndex <= static_cast<int>(filters.size());
        gtk_file_chooser_set_filter(chooser, filters[inRange ? FileTypeIndex - 1 : 0]);
    }

    // A name with a folder opens the dialog in that folder; a bare name, in the last one used, else in
    // the working folder.
    const std::filesystem::path name(FileName);
    const std::string folder = name.is_absolute() ? name.parent_path().string() : FLastFolder;
    const std::string base = name.filename().string();
    if (!folder.empty()) gtk_file_chooser_set_current_folder(chooser, folder.c_str());
    if (!base.empty()) {
        if (save) {
            gtk_file_chooser_set_current_name(chooser, base.c_str());
        } else if (!folder.empty()) {
            gtk_file_chooser_select_filename(chooser, (std::filesystem::path(folder) / base).c_str());
        } else {
            const std::string here = TakeString(g_get_current_dir());
            gtk_file_chooser_set_current_folder(chooser, here.c_str());
            TypeNameWhenShown(dialog, base);
        }
    }

    // A showing of this component can start from an event of an earlier one still showing.
    bool destroyed = false;
    bool* outerDestroyed = FDestroyed;
    void* outerShowing = FShowing;
    FDestroyed = &destroyed;
    FShowing = dialog;
    const int response = RunModalDialog(GTK_DIALOG(dialog));
    if (destroyed) {
        if (outerDestroyed) *outerDestroyed = true;
        if (outerShowing) gtk_dialog_response(GTK_DIALOG(outerShowing), GTK_RESPONSE_CANCEL);
        gtk_widget_destroy(dialog);
        return TFileDialogResult::Destroyed;
    }
    FDestroyed = outerDestroyed;
    FShowing = outerShowing;
    const bool answered = response == GTK_RESPONSE_ACCEPT;
    GtkFileFilter* chosenFilter = gtk_file_chooser_get_filter(chooser);
    for (size_t i = 0; i < filters.size(); ++i) {
        if (filters[i] == chosenFilter) FileTypeIndex = static_cast<int>(i) + 1;
    }
    // Only local files have a path; the dialog offers nothing else.
    const std::string chosen = answered ? TakeString(gtk_file_chooser_get_filename(chooser)) : std::string();
    gtk_widget_destroy(dialog);

    if (chosen.empty()) return TFileDialogResult::Cancelled;
    FileName = chosen;
    FLastFolder = std::filesystem::path(chosen).parent_path().string();
    return TFileDialogResult::Confirmed;
}

} // namespace Platform
