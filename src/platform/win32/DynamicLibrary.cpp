// Libraries loaded at run time (LoadLibraryW).
#include "platform/DynamicLibrary.h"

#include "platform/Process.h"
#include "platform/win32/Wide.h"

namespace Platform {

bool TDynamicLibrary::Load(const std::string& path) {
    Unload();
    FHandle = LoadLibraryW(Win32::Widen(path).c_str());
    if (!FHandle) FError = "cannot load " + path + ": " + SysErrorMessage(LastErrorCode());
    return FHandle != nullptr;
}

void* TDynamicLibrary::Symbol(const char* name) const {
    if (!FHandle) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(FHandle), name));
}

void TDynamicLibrary::Unload() {
    if (FHandle) FreeLibrary(static_cast<HMODULE>(FHandle));
    FHandle = nullptr;
}

} // namespace Platform
