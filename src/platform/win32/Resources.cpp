// Program resources on Windows: the RCDATA resources of the executable.
#include "platform/Resources.h"

#include "platform/win32/Wide.h"

namespace Platform {

std::string_view ProgramResource(const std::string& name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, Win32::Widen(name).c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!resource) return {};
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    // Resources stay mapped with the executable, so the view lasts as long as the process.
    return {static_cast<const char*>(data), SizeofResource(module, resource)};
}

} // namespace Platform
