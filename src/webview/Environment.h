// The browser environment: makes controllers inside a host's container and responses for requests.
#pragma once

#include <string>

#include "abi/ComObject.h"
#include "webview/BrowserContext.h"
#include "webview/EventList.h"

namespace CrvWebView {

using namespace WebView2;

// The browser's version, as "major.minor.micro".
std::string BrowserVersion();

class TEnvironment final : public TComObject<ICoreWebView2Environment> {
public:
    TEnvironment(WebKitWebContext* context, TEnvironmentOptions options);

    // parentWindow is a GtkLayout; the controller arrives from the main loop.
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int statusCode,
                                                        LPCWSTR reasonPhrase, LPCWSTR headers,
                                                        ICoreWebView2WebResourceResponse** response) override;
    HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) override;
    // Never raised: the browser is updated with the system, not while it runs.
    HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(
        ICoreWebView2NewBrowserVersionAvailableEventHandler* handler, EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) override;

private:
    WebKitWebContext* FContext;
    TEnvironmentOptions FOptions;
    TEventList<ICoreWebView2NewBrowserVersionAvailableEventHandler> FNewBrowserVersionAvailable;
};

// Reads the environment variables now and hands the environment to handler from the main loop.
HRESULT CreateEnvironment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

} // namespace CrvWebView
