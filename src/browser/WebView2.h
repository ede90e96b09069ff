// The WebView2 boundary: the loader exports and the COM-shaped types the runtime calls through.
// On Windows the real loader answers; on Linux our WebKitGTK stand-in exports the same functions.
#pragma once

#include <cstdint>
#include <cstdlib>

namespace WebView2 {

using HRESULT = std::int32_t;
#if defined(_WIN32)
using WCHAR = wchar_t;
#else
using WCHAR = char16_t; // UTF-16, as on Windows
#endif
using PCWSTR = const WCHAR*;
using LPWSTR = WCHAR*;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND): no browser runtime found.
constexpr HRESULT HRESULT_FILE_NOT_FOUND = static_cast<HRESULT>(0x80070002u);

inline bool Succeeded(HRESULT hr) {
    return hr >= 0;
}

// Loader exports, looked up by name.
using GetAvailableCoreWebView2BrowserVersionStringFn = HRESULT (*)(PCWSTR browserExecutableFolder,
                                                                   LPWSTR* versionInfo);
using GetCoreWebView2BrowserVersionStringFn = GetAvailableCoreWebView2BrowserVersionStringFn;

// Frees a string the loader handed out. On Linux the stand-in allocates with malloc.
#if !defined(_WIN32)
inline void CoTaskMemFree(void* p) {
    std::free(p);
}
#endif

} // namespace WebView2
