// Exports of the browser loader stand-in: the runtime finds these by name, as it finds those of
// the Windows loader library.
#include <cstdlib>
#include <cstring>
#include <string>

#include <webkit2/webkit2.h>

#include "browser/WebView2.h"

using namespace WebView2;

namespace {

// The WebKitGTK version that this library runs on, in a string for the caller to free.
LPWSTR NewVersionString() {
    const std::string version = std::to_string(webkit_get_major_version()) + "." +
                                std::to_string(webkit_get_minor_version()) + "." +
                                std::to_string(webkit_get_micro_version());
    auto* out = static_cast<WCHAR*>(std::malloc((version.size() + 1) * sizeof(WCHAR)));
    if (!out) return nullptr;
    for (size_t i = 0; i < version.size(); ++i)
        out[i] = static_cast<WCHAR>(version[i]);
    out[version.size()] = 0;
    return out;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) HRESULT
GetAvailableCoreWebView2BrowserVersionString(PCWSTR /*browserExecutableFolder*/, LPWSTR* versionInfo) {
    if (!versionInfo) return E_POINTER;
    *versionInfo = NewVersionString();
    return *versionInfo ? S_OK : E_FAIL;
}

__attribute__((visibility("default"))) HRESULT GetCoreWebView2BrowserVersionString(PCWSTR folder,
                                                                                   LPWSTR* versionInfo) {
    return GetAvailableCoreWebView2BrowserVersionString(folder, versionInfo);
}

__attribute__((visibility("default"))) HRESULT CreateCoreWebView2Environment(void* /*handler*/) {
    return E_NOTIMPL;
}

__attribute__((visibility("default"))) void CoTaskMemFree(void* p) {
    std::free(p);
}

} // extern "C"
