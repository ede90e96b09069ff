// Content types that the Windows registry holds: per extension under HKEY_CLASSES_ROOT, then the
// extensions that the MIME database names.
#include "platform/SystemMimeTypes.h"

#include "platform/win32/Wide.h"

namespace Platform {

namespace {

std::wstring StringValue(HKEY key, const wchar_t* subKey, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(key, subKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return {};
    return value;
}

// Calls visit with the name of every direct subkey of key.
template <typename TVisit> void ForEachSubKey(HKEY key, TVisit visit) {
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        const LONG status = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status == ERROR_SUCCESS) visit(std::wstring(name, length));
    }
}

} // namespace

void ForEachSystemMimeType(const std::function<void(const std::string& ext, const std::string& type)>& add) {
    ForEachSubKey(HKEY_CLASSES_ROOT, [&](const std::wstring& name) {
        if (name.empty() || name[0] != L'.') return;
        const std::wstring type = StringValue(HKEY_CLASSES_ROOT, name.c_str(), L"Content Type");
        if (!type.empty()) add(Win32::Narrow(name), Win32::Narrow(type));
    });

    HKEY database = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"MIME\\Database\\Content Type", 0, KEY_READ, &database) !=
        ERROR_SUCCESS)
        return;
    ForEachSubKey(database, [&](const std::wstring& type) {
        std::wstring extension = StringValue(database, type.c_str(), L"Extension");
        if (extension.empty()) return;
        if (extension[0] != L'.') extension.insert(0, 1, L'.');
        add(Win32::Narrow(extension), Win32::Narrow(type));
    });
    RegCloseKey(database);
}

} // namespace Platform
