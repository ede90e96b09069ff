// A web message as the browser hands it to the bridge, made by hand: the sender's URL, the JSON
// text, and whether the page posted a plain string.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "abi/ComObject.h"
#include "abi/Utf.h"

namespace TestMessages {

// A copy the receiver frees, as the browser's strings are.
inline WebView2::LPWSTR Lend(const std::string& text) {
    const std::u16string wide = Corvane::Abi::Utf8ToUtf16(text);
    auto* copy = static_cast<char16_t*>(std::malloc((wide.size() + 1) * sizeof(char16_t)));
    std::memcpy(copy, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
    return reinterpret_cast<WebView2::LPWSTR>(copy);
}

class TFakeMessage : public WebView2::TComObject<WebView2::ICoreWebView2WebMessageReceivedEventArgs> {
public:
    TFakeMessage(std::string source, std::string json, bool isString)
        : FSource(std::move(source)), FJson(std::move(json)), FIsString(isString) {}
    WebView2::HRESULT STDMETHODCALLTYPE get_Source(WebView2::LPWSTR* value) override {
        *value = Lend(FSource);
        return WebView2::S_OK;
    }
    WebView2::HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(WebView2::LPWSTR* value) override {
        *value = Lend(FJson);
        return WebView2::S_OK;
    }
    WebView2::HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(WebView2::LPWSTR* value) override {
        *value = nullptr;
        if (!FIsString) return WebView2::E_INVALIDARG;
        // The string's own text: the JSON literal without its quotes (plain test strings only).
        *value = Lend(FJson.substr(1, FJson.size() - 2));
        return WebView2::S_OK;
    }

private:
    std::string FSource, FJson;
    bool FIsString;
};

} // namespace TestMessages
