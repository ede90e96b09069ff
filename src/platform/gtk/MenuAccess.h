// What forms of the GTK backend need of a menu: its bar widget, its form, and its access keys.
#pragma once

#include <gtk/gtk.h>

#include "platform/Form.h"
#include "platform/Menu.h"

namespace Platform {

struct TMenuAccess {
    // The menu bar, owned by the menu.
    static GtkWidget* Bar(TMainMenu& menu);
    static void SetForm(TMainMenu& menu, TForm* form);
    // Alt with a top-level item's access key runs that item (opens its submenu); F10 selects the
    // first item. True when the menu took the key.
    static bool IsShortCut(TMainMenu& menu, const TKeyMessage& message);
    // Picture Index of the collection, owned by it.
    static GdkPixbuf* Picture(const TImageCollection& images, int index);
};

} // namespace Platform
