// Asks the loader library for the installed browser runtime's version.
#include "browser/EdgeInstalled.h"

#include <filesystem>
#include <system_error>

#include "abi/Utf.h"
#include "abi/WebView2.h"
#include "platform/DynamicLibrary.h"

namespace Corvane::Browser {

bool CheckEdgeIsInstalled(const std::string& edgeLoaderDllPath) {
    std::error_code error;
    if (!std::filesystem::exists(Abi::Utf8Path(edgeLoaderDllPath), error)) return false;

    Platform::TDynamicLibrary library;
    if (!library.Load(edgeLoaderDllPath)) return false;
    const auto getVersion = reinterpret_cast<WebView2::GetAvailableCoreWebView2BrowserVersionStringFn>(
        library.Symbol("GetAvailableCoreWebView2BrowserVersionString"));
    if (!getVersion) return false;

    // Only the version string decides; the result code is not consulted.
    WebView2::LPWSTR version = nullptr;
    getVersion(nullptr, &version);
    const bool installed = version && version[0] != 0;
    if (version) WebView2::CoTaskMemFree(version);
    return installed;
}

} // namespace Corvane::Browser
