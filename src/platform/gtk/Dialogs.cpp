// Message dialogs over GtkMessageDialog.
#include "platform/Dialogs.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>

#include "platform/Application.h"
#include "platform/gtk/ModalDialogs.h"

namespace Platform {

namespace {

struct TButtonFacts {
    int Result;
    const char* StandardCaption;
};

// Indexed by TDialogButton, in its order.
constexpr TButtonFacts kButtons[] = {{mrYes, "_Yes"}, {mrNo, "_No"}, {mrOk, "_OK"}, {mrCancel, "_Cancel"}};

struct TKindFacts {
    GtkMessageType Type;
    const char* IconName;
};

// Indexed by TDialogKind, in its order.
constexpr TKindFacts kKinds[] = {{GTK_MESSAGE_ERROR, "dialog-error"},
                                 {GTK_MESSAGE_QUESTION, "dialog-question"},
                                 {GTK_MESSAGE_INFO, "dialog-information"},
                                 {GTK_MESSAGE_WARNING, "dialog-warning"}};

const TButtonFacts& Facts(TDialogButton button) {
    return kButtons[static_cast<int>(button)];
}
const TKindFacts& Facts(TDialogKind kind) {
    return kKinds[static_cast<int>(kind)];
}

// Message dialogs of GTK 3 show no icon; the kind's icon goes beside the text, as users expect of
// an error or a question.
void AddIcon(GtkWidget* dialog, TDialogKind kind) {
    GtkWidget* messageArea = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog));
    GtkWidget* row = gtk_widget_get_parent(messageArea);
    if (!GTK_IS_BOX(row)) return;
    GtkWidget* icon = gtk_image_new_from_icon_name(Facts(kind).IconName, GTK_ICON_SIZE_DIALOG);
    gtk_widget_set_valign(icon, GTK_ALIGN_START);
    gtk_box_pack_start(GTK_BOX(row), icon, FALSE, FALSE, 0);
    gtk_box_reorder_child(GTK_BOX(row), icon, 0);
    gtk_widget_show(icon);
}

void Trace(const TMessageDialogOptions& options, const std::vector<std::string>& captions) {
    std::string buttons;
    for (const auto& caption : captions)
        buttons += " [" + caption + "]";
    std::fprintf(stderr, "%s: %s%s\n", options.Title.c_str(), options.Text.c_str(), buttons.c_str());
    std::fflush(stderr);
}

} // namespace

GtkWindow* ActiveWindow() {
    GList* windows = gtk_window_list_toplevels();
    GtkWindow* active = nullptr;
    for (GList* item = windows; item; item = item->next) {
        auto* window = GTK_WINDOW(item->data);
        if (gtk_window_is_active(window) && gtk_widget_get_visible(GTK_WIDGET(window))) active = window;
    }
    g_list_free(windows);
    return active;
}

int ShowMessageDialog(const TMessageDialogOptions& options) {
    std::vector<TDialogButton> buttons = options.Buttons;
    if (buttons.empty()) buttons.push_back(TDialogButton::OK);
    std::sort(buttons.begin(), buttons.end());
    buttons.erase(std::unique(buttons.begin(), buttons.end()), buttons.end());

    std::vector<std::string> captions;
    for (size_t i = 0; i < buttons.size(); ++i) {
        captions.push_back(i < options.ButtonCaptions.size() ? options.ButtonCaptions[i]
                                                             : Facts(buttons[i]).StandardCaption);
    }
    Trace(options, captions);
    if (!EnsureUiInitialized()) return mrCancel;

    GtkWidget* dialog = gtk_message_dialog_new(ActiveWindow(), GTK_DIALOG_MODAL, Facts(options.Kind).Type,
                                               GTK_BUTTONS_NONE, "%s", options.Text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), options.Title.c_str());
    AddIcon(dialog, options.Kind);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    for (size_t i = 0; i < buttons.size(); ++i) {
        GtkWidget* button =
            gtk_dialog_add_button(GTK_DIALOG(dialog), captions[i].c_str(), Facts(buttons[i]).Result);
        gtk_button_set_use_underline(GTK_BUTTON(button), i >= options.ButtonCaptions.size());
    }
    // The default button is OK when present, otherwise Yes.
    const bool hasOk = std::find(buttons.begin(), buttons.end(), TDialogButton::OK) != buttons.end();
    const bool hasYes = std::find(buttons.begin(), buttons.end(), TDialogButton::Yes) != buttons.end();
    if (hasOk || hasYes) gtk_dialog_set_default_response(GTK_DIALOG(dialog), hasOk ? mrOk : mrYes);

    const int response = RunModalDialog(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    ProcessMessages();
    // Escape and the close box give Cancel.
    return response > 0 ? response : mrCancel;
}

void ShowErrorBox(const std::string& text, const std::string& title) {
    ShowMessageDialog({text, title, TDialogKind::Error, {TDialogButton::OK}, {"OK"}});
}

} // namespace Platform
