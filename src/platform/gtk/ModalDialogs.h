// Toolkit dialogs run modally in a way that a request to end the program can close.
#pragma once

#include <gtk/gtk.h>

namespace Platform {

// gtk_dialog_run, except that once the program has been asked to end (SIGTERM, SIGINT) the dialog
// closes as if by its close box, and later dialogs answer that way without showing.
int RunModalDialog(GtkDialog* dialog);

// The visible toplevel that has the focus, as the owner of a new dialog; null when none has.
GtkWindow* ActiveWindow();

} // namespace Platform
