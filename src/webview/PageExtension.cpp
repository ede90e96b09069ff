// The loader library's second life inside the browser's web process: the app's pages ask for file: URLs
// under the private scheme, so that every request of theirs reaches the host as on Windows.
#include <webkit2/webkit-web-extension.h>

#include <string>

#include "webview/FileUris.h"

namespace {

// A worker must be of the page's own origin, which a file: URL is not under the private scheme; the
// constructors take file: URLs under that scheme instead.
const std::string& WorkerScript() {
    static const std::string script =
        "(() => { const scheme = '" + std::string(CrvWebView::kPrivateScheme) + "';" + R"js(
  const toPrivate = (url) => { const text = String(url); return /^file:/i.test(text) ? scheme + text.slice(4) : url; };
  for (const name of ['Worker', 'SharedWorker']) {
    const Base = globalThis[name];
    if (typeof Base !== 'function') continue;
    const Own = { [name]: class extends Base { constructor(url, options) { super(toPrivate(url), options); } } }[name];
    Object.defineProperty(globalThis, name, { value: Own, writable: true, configurable: true });
  }
})();)js";
    return script;
}

// Redirects are left alone: a page elsewhere must not reach local files by answering with one.
gboolean OnSendRequest(WebKitWebPage* page, WebKitURIRequest* request, WebKitURIResponse* redirected,
                       gpointer) {
    if (redirected) return FALSE;
    const char* pageUri = webkit_web_page_get_uri(page);
    const char* uri = webkit_uri_request_get_uri(request);
    if (pageUri && uri && CrvWebView::IsPrivateUri(pageUri) && CrvWebView::IsFileUri(uri))
        webkit_uri_request_set_uri(request, CrvWebView::ToBrowserUri(uri).c_str());
    return FALSE;
}

void OnWindowObjectCleared(WebKitScriptWorld* world, WebKitWebPage*, WebKitFrame* frame, gpointer) {
    const char* uri = webkit_frame_get_uri(frame);
    if (!uri || !CrvWebView::IsPrivateUri(uri)) return;
    JSCContext* context = webkit_frame_get_js_context_for_script_world(frame, world);
    JSCValue* result = jsc_context_evaluate(context, WorkerScript().c_str(), -1);
    if (result) g_object_unref(result);
    g_object_unref(context);
}

void OnPageCreated(WebKitWebExtension*, WebKitWebPage* page, gpointer) {
    g_signal_connect(page, "send-request", G_CALLBACK(OnSendRequest), nullptr);
}

} // namespace

extern "C" __attribute__((visibility("default"))) void
webkit_web_extension_initialize(WebKitWebExtension* extension) {
    g_signal_connect(extension, "page-created", G_CALLBACK(OnPageCreated), nullptr);
    g_signal_connect(webkit_script_world_get_default(), "window-object-cleared",
                     G_CALLBACK(OnWindowObjectCleared), nullptr);
}
