// Exports of the browser loader stand-in: the runtime finds these by name, as it finds those of
// the Windows loader library.
#include <cstdlib>

#include "abi/WebView2.h"
#include "webview/Environment.h"
#include "webview/Text.h"

using namespace WebView2;

extern "C" {

__attribute__((visibility("default"))) HRESULT
GetAvailableCoreWebView2BrowserVersionString(PCWSTR /*browserExecutableFolder*/, LPWSTR* versionInfo) {
    return CrvWebView::OutString(CrvWebView::BrowserVersion(), versionInfo);
}

__attribute__((visibility("default"))) HRESULT GetCoreWebView2BrowserVersionString(PCWSTR folder,
                                                                                   LPWSTR* versionInfo) {
    return GetAvailableCoreWebView2BrowserVersionString(folder, versionInfo);
}

// May be called from any thread; the environment is made and handed over on the main loop.
__attribute__((visibility("default"))) HRESULT
CreateCoreWebView2Environment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    return CrvWebView::CreateEnvironment(handler);
}

__attribute__((visibility("default"))) void CoTaskMemFree(void* p) {
    std::free(p);
}

} // extern "C"
