// Shared libraries loaded at run time (dlopen).
#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>

namespace Platform {

namespace {

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CRV_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define CRV_ADDRESS_SANITIZER 1
#endif

// A library binds to its own dependencies first, as a DLL binds to the DLLs it names: the system
// loader then finds most of a large library's symbols at once instead of first searching every
// library the program itself was linked with (the browser's loader: 40 ms instead of 65 here).
// Not when anything interposes on the program's symbols (a preloaded allocator or tool, the address
// sanitizer): the library would bypass it, and the sanitizer refuses such loads outright.
int LoadFlags() {
    int flags = RTLD_NOW | RTLD_LOCAL;
#if !defined(CRV_ADDRESS_SANITIZER)
    const char* preload = std::getenv("LD_PRELOAD");
    if ((!preload || !*preload) && access("/etc/ld.so.preload", F_OK) != 0) flags |= RTLD_DEEPBIND;
#endif
    return flags;
}

} // namespace

bool TDynamicLibrary::Load(const std::string& path) {
    Unload();
    FHandle = dlopen(path.c_str(), LoadFlags());
    if (!FHandle) {
        const char* error = dlerror();
        FError = error ? error : "cannot load " + path;
    }
    return FHandle != nullptr;
}

void* TDynamicLibrary::Symbol(const char* name) const {
    return FHandle ? dlsym(FHandle, name) : nullptr;
}

void TDynamicLibrary::Unload() {
    if (FHandle) dlclose(FHandle);
    FHandle = nullptr;
}

} // namespace Platform
