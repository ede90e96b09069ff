// Handing work to the main loop.
#include "webview/MainLoop.h"

#include <glib.h>

namespace CrvWebView {

void RunOnMainLoop(std::function<void()> work) {
    auto* task = new std::function<void()>(std::move(work));
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        task, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

} // namespace CrvWebView
