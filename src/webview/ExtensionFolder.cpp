// The web-process extension folder: one link to the loader library itself, so the extension always
// matches the loader and needs no file of its own in packages.
#include "webview/ExtensionFolder.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <glib.h>

namespace CrvWebView {

namespace {

std::string OwnPath() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&PrepareExtensionFolder), &info) || !info.dli_fname) return {};
    char* real = realpath(info.dli_fname, nullptr);
    std::string path = real ? real : "";
    std::free(real);
    return path;
}

std::string Build(const std::string& a, const char* b, const char* c) {
    gchar* path = g_build_filename(a.c_str(), b, c, nullptr);
    std::string text = path;
    g_free(path);
    return text;
}

} // namespace

std::string PrepareExtensionFolder(const std::string& dataFolder) {
#if defined(CRV_SANITIZED)
    // An instrumented library cannot be loaded into the browser's uninstrumented web process: such
    // builds serve absolute file: addresses of sub-resources from disk, as before.
    (void)dataFolder;
    return {};
#endif
    const std::string library = OwnPath();
    if (library.empty()) return {};
    const std::string folder = dataFolder.empty() ? Build(g_get_user_cache_dir(), "crvwebview", "extension")
                                                  : Build(dataFolder, "WebKit", "extension");
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0) return {};
    // The web process loads every *.so of the folder. A new link replaces the old one in one step, so a
    // second instance starting at the same time never sees the folder without it.
    const std::string link = folder + "/crvwebview.so";
    const std::string fresh = link + "." + std::to_string(getpid());
    unlink(fresh.c_str());
    if (symlink(library.c_str(), fresh.c_str()) != 0 || rename(fresh.c_str(), link.c_str()) != 0) {
        unlink(fresh.c_str());
        return {};
    }
    return folder;
}

} // namespace CrvWebView
