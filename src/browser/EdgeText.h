// Text across the browser boundary: UTF-8 in our code, UTF-16 strings in the runtime's calls.
#pragma once

#include <string>
#include <string_view>

#include "abi/WebView2.h"

namespace Corvane::Browser {

// UTF-8 text as a string argument of a runtime call, alive until the end of the call's statement.
class TBrowserText {
public:
    explicit TBrowserText(std::string_view text);
    operator WebView2::LPCWSTR() const { return reinterpret_cast<WebView2::LPCWSTR>(FText.c_str()); }

private:
    std::u16string FText;
};

// A string the runtime lent us, as UTF-8; null gives "".
std::string FromBrowserText(WebView2::LPCWSTR text);
// A string the runtime handed over, as UTF-8; frees it. Null gives "".
std::string TakeBrowserString(WebView2::LPWSTR text);

} // namespace Corvane::Browser
