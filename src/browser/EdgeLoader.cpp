// The loader library: loaded from EdgeLoaderDllPath on first need and kept until the process ends;
// the browser control reaches its exports only through the forwarding functions here.
#include <memory>
#include <mutex>

#include "browser/EdgeEx.h"
#include "platform/DynamicLibrary.h"

namespace Corvane::Browser {

using namespace WebView2;

namespace {

struct TLoader {
    std::mutex Mutex;
    // Shared with calls in flight, so that unloading at exit never pulls the code from under a
    // worker thread that is still inside the library.
    std::shared_ptr<Platform::TDynamicLibrary> Library;
    CreateCoreWebView2EnvironmentFn CreateEnvironment = nullptr;
    GetCoreWebView2BrowserVersionStringFn GetBrowserVersion = nullptr;
};

TLoader& Loader() {
    static TLoader loader;
    return loader;
}

bool LoadLocked(TLoader& loader) {
    if (loader.Library) return true;
    // An empty path would name the program itself.
    if (EdgeLoaderDllPath.empty()) return false;
    auto library = std::make_shared<Platform::TDynamicLibrary>();
    if (!library->Load(EdgeLoaderDllPath)) return false;
    loader.CreateEnvironment =
        reinterpret_cast<CreateCoreWebView2EnvironmentFn>(library->Symbol("CreateCoreWebView2Environment"));
    // The loaders published today have the version query under its newer name only.
    for (const char* name :
         {"GetCoreWebView2BrowserVersionString", "GetAvailableCoreWebView2BrowserVersionString"})
        if (!loader.GetBrowserVersion)
            loader.GetBrowserVersion =
                reinterpret_cast<GetCoreWebView2BrowserVersionStringFn>(library->Symbol(name));
    loader.Library = std::move(library);
    return true;
}

// The export with the library kept loaded for the caller; null when either is missing.
template <class Fn> Fn Export(Fn TLoader::*field, std::shared_ptr<Platform::TDynamicLibrary>& keep) {
    TLoader& loader = Loader();
    std::lock_guard lock(loader.Mutex);
    if (!LoadLocked(loader)) return nullptr;
    keep = loader.Library;
    return loader.*field;
}

} // namespace

bool LoadWebView2Loader() {
    TLoader& loader = Loader();
    std::lock_guard lock(loader.Mutex);
    return LoadLocked(loader);
}

HRESULT CreateCoreWebView2Environment(
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
    std::shared_ptr<Platform::TDynamicLibrary> keep;
    const auto fn = Export(&TLoader::CreateEnvironment, keep);
    return fn ? fn(environmentCreatedHandler) : E_FAIL;
}

HRESULT GetCoreWebView2BrowserVersionString(PCWSTR browserExecutableFolder, LPWSTR* versionInfo) {
    std::shared_ptr<Platform::TDynamicLibrary> keep;
    const auto fn = Export(&TLoader::GetBrowserVersion, keep);
    return fn ? fn(browserExecutableFolder, versionInfo) : E_FAIL;
}

} // namespace Corvane::Browser
