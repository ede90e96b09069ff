// The browser environment.
#include "webview/Environment.h"

#include "abi/ComPtr.h"
#include "webview/BrowserView.h"
#include "webview/HttpHeaders.h"
#include "webview/MainLoop.h"
#include "webview/Text.h"
#include "webview/WebResource.h"

namespace CrvWebView {

std::string BrowserVersion() {
    return std::to_string(webkit_get_major_version()) + "." + std::to_string(webkit_get_minor_version()) +
           "." + std::to_string(webkit_get_micro_version());
}

TEnvironment::TEnvironment(WebKitWebContext* context, TEnvironmentOptions options)
    : FContext(context), FOptions(std::move(options)) {}

HRESULT TEnvironment::CreateCoreWebView2Controller(
    HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
    if (!handler) return E_POINTER;
    if (!parentWindow || !GTK_IS_LAYOUT(parentWindow)) return E_INVALIDARG;
    auto* parent = static_cast<GtkWidget*>(g_object_ref(parentWindow));
    RunOnMainLoop([self = ComPtr<TEnvironment>(this), parent, done = ComPtr(handler)] {
        if (gtk_widget_in_destruction(parent)) {
            done->Invoke(E_ABORT, nullptr);
        } else {
            auto view = ComPtr<ICoreWebView2Controller>::Attach(
                TBrowserView::Create(self.Get(), self->FContext, self->FOptions, parent));
            done->Invoke(S_OK, view.Get());
        }
        g_object_unref(parent);
    });
    return S_OK;
}

HRESULT TEnvironment::CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase,
                                                LPCWSTR headers,
                                                ICoreWebView2WebResourceResponse** response) {
    if (!response) return E_POINTER;
    *response =
        new TWebResourceResponse(content, statusCode, ToUtf8(reasonPhrase), ParseHeaderText(ToUtf8(headers)));
    return S_OK;
}

HRESULT TEnvironment::get_BrowserVersionString(LPWSTR* versionInfo) {
    return OutString(BrowserVersion(), versionInfo);
}

HRESULT
TEnvironment::add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler* handler,
                                             EventRegistrationToken* token) {
    return FNewBrowserVersionAvailable.Add(handler, token);
}

HRESULT TEnvironment::remove_NewBrowserVersionAvailable(EventRegistrationToken token) {
    return FNewBrowserVersionAvailable.Remove(token);
}

HRESULT CreateEnvironment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    if (!handler) return E_POINTER;
    TEnvironmentOptions options = ReadEnvironmentOptions();
    RunOnMainLoop([done = ComPtr(handler), options] {
        auto environment =
            ComPtr<TEnvironment>::Attach(new TEnvironment(BrowserContextFor(options), options));
        done->Invoke(S_OK, environment.Get());
    });
    return S_OK;
}

} // namespace CrvWebView
