// Shortcut targets on Windows: shell links (.lnk) and Internet shortcuts (.url).
#include "platform/Shortcuts.h"

#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/Wide.h"

namespace Platform {

namespace {

bool HasExtension(const std::wstring& path, const wchar_t* extension) {
    const size_t length = wcslen(extension);
    return path.size() > length && _wcsicmp(path.c_str() + path.size() - length, extension) == 0;
}

std::wstring LinkTarget(const std::wstring& path) {
    // The thread may already be in COM, in either apartment; the link object works in both.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring target;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t buffer[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
                link->GetPath(buffer, MAX_PATH, nullptr, 0) == S_OK)
                target = buffer;
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return target;
}

std::wstring InternetShortcutTarget(const std::wstring& path) {
    wchar_t url[4096] = {};
    GetPrivateProfileStringW(L"InternetShortcut", L"URL", L"", url, 4096, path.c_str());
    return url;
}

} // namespace

std::string ShortcutTarget(const std::string& path) {
    const std::wstring wide = Win32::Widen(path);
    if (HasExtension(wide, L".lnk")) return Win32::Narrow(LinkTarget(wide));
    if (HasExtension(wide, L".url")) return Win32::Narrow(InternetShortcutTarget(wide));
    return {};
}

} // namespace Platform
