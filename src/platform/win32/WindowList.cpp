// The captions of the desktop's top-level windows, of every process, as EnumWindows gives them.
#include "platform/WindowList.h"

#include "platform/win32/Wide.h"

namespace Platform {

namespace {

BOOL CALLBACK AddCaption(HWND window, LPARAM data) {
    auto& captions = *reinterpret_cast<std::vector<std::string>*>(data);
    const int length = GetWindowTextLengthW(window);
    std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
    const int read = GetWindowTextW(window, caption.data(), length + 1);
    caption.resize(read > 0 ? static_cast<size_t>(read) : 0);
    captions.push_back(Win32::Narrow(caption));
    return TRUE;
}

} // namespace

std::vector<std::string> TopLevelWindowCaptions() {
    std::vector<std::string> captions;
    EnumWindows(AddCaption, reinterpret_cast<LPARAM>(&captions));
    return captions;
}

} // namespace Platform
