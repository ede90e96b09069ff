// What forms and controls of the GTK backend share: the control tree behind the public classes.
#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "platform/Control.h"
#include "platform/Form.h"

namespace Platform {

struct TControlAccess {
    static GtkWidget* Widget(TWinControl& control);
    // Makes control the root of form's client area.
    static void MakeClientOf(TWinControl& control, TForm* form);
    // The root's size comes from the window (or, without a display, from the form's bounds).
    static void SetRootSize(TWinControl& root, int width, int height);
    // After the window's focus moved to widget (nullptr: none): exit and enter handlers in that order.
    static void FocusMoved(TWinControl& root, GtkWidget* widget);
    static void BroadcastSysCommand(TWinControl& root, TSysCommand command);
    // root and every control below it, parents before their children.
    static std::vector<TWinControl*> Tree(TWinControl& root);
};

} // namespace Platform
