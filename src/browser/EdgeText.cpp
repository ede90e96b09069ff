// Text across the browser boundary.
#include "browser/EdgeText.h"

#include "abi/Utf.h"

namespace Corvane::Browser {

using namespace Corvane::Abi;

TBrowserText::TBrowserText(std::string_view text) : FText(Utf8ToUtf16(text)) {}

std::string FromBrowserText(WebView2::LPCWSTR text) {
    return text ? Utf16ToUtf8(reinterpret_cast<const char16_t*>(text)) : std::string();
}

std::string TakeBrowserString(WebView2::LPWSTR text) {
    std::string result = FromBrowserText(text);
    if (text) WebView2::CoTaskMemFree(text);
    return result;
}

} // namespace Corvane::Browser
