// Scripts the host adds to every new document, and scripts it runs in the current one.
#include <memory>

#include "webview/BrowserView.h"
#include "webview/MainLoop.h"
#include "webview/Text.h"

namespace CrvWebView {

namespace {

struct TScriptRun {
    ComPtr<TBrowserView> View;
    ComPtr<ICoreWebView2ExecuteScriptCompletedHandler> Handler;
};

// The script's value as JSON; undefined and values JSON has no form for give null.
std::string ResultJson(JSCValue* value) {
    if (!value || jsc_value_is_undefined(value)) return "null";
    gchar* json = jsc_value_to_json(value, 0);
    std::string text = json ? json : "null";
    g_free(json);
    return text;
}

} // namespace

HRESULT TBrowserView::AddScriptToExecuteOnDocumentCreated(
    LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) {
    CRV_REQUIRE_OPEN();
    if (!javaScript) return E_INVALIDARG;
    WebKitUserScript* script =
        webkit_user_script_new(ToUtf8(javaScript).c_str(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(FContentManager, script);
    const std::string id = std::to_string(FNextScriptId++);
    FScripts[id] = script;
    if (handler) {
        RunOnMainLoop([keep = ComPtr(handler), id] { keep->Invoke(S_OK, ToUtf16(id).c_str()); });
    }
    return S_OK;
}

HRESULT TBrowserView::RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) {
    CRV_REQUIRE_OPEN();
    if (!id) return E_INVALIDARG;
    const auto it = FScripts.find(ToUtf8(id));
    if (it == FScripts.end()) return S_OK;
    webkit_user_content_manager_remove_script(FContentManager, it->second);
    webkit_user_script_unref(it->second);
    FScripts.erase(it);
    return S_OK;
}

HRESULT TBrowserView::ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) {
    CRV_REQUIRE_OPEN();
    if (!javaScript) return E_INVALIDARG;
    auto* run = new TScriptRun{ComPtr<TBrowserView>(this), ComPtr(handler)};
    const std::string script = ToUtf8(javaScript);
    webkit_web_view_evaluate_javascript(
        FView, script.c_str(), static_cast<gssize>(script.size()), nullptr, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<TScriptRun> job(static_cast<TScriptRun*>(data));
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
            HRESULT hr = S_OK;
            std::string json = "null";
            if (error) {
                // Only a thrown exception fails; a value without a JSON form is null.
                if (g_error_matches(error, WEBKIT_JAVASCRIPT_ERROR, WEBKIT_JAVASCRIPT_ERROR_SCRIPT_FAILED))
                    hr = E_FAIL;
                g_error_free(error);
            } else {
                json = ResultJson(value);
            }
            if (value) g_object_unref(value);
            if (job->Handler) job->Handler->Invoke(hr, ToUtf16(json).c_str());
        },
        run);
    return S_OK;
}

} // namespace CrvWebView
