// Shared libraries loaded at run time (dlopen).
#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace Platform {

bool TDynamicLibrary::Load(const std::string& path) {
    Unload();
    FHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
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
