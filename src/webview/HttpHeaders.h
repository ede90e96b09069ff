// HTTP header collections of requests and responses, and the header text of made responses.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "abi/ComObject.h"

namespace CrvWebView {

using namespace WebView2;

using THeaderList = std::vector<std::pair<std::string, std::string>>;

// "Name: value" lines separated by CR LF (a bare LF is taken too). Blanks around names and values are
// dropped; lines without a colon or without a name are skipped.
THeaderList ParseHeaderText(std::string_view text);

bool HeaderNameEquals(std::string_view a, std::string_view b);

// Both interfaces share GetHeader, GetHeaders, Contains and GetIterator; one object serves either.
class THttpHeaders final
    : public TComObject<ICoreWebView2HttpRequestHeaders, ICoreWebView2HttpResponseHeaders> {
public:
    explicit THttpHeaders(THeaderList headers = {}) : FHeaders(std::move(headers)) {}

    const THeaderList& List() const { return FHeaders; }
    // The first value of the name; empty when absent.
    std::string Find(std::string_view name) const;

    HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE GetHeaders(LPCWSTR name,
                                         ICoreWebView2HttpHeadersCollectionIterator** value) override;
    HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL* value) override;
    HRESULT STDMETHODCALLTYPE GetIterator(ICoreWebView2HttpHeadersCollectionIterator** value) override;
    HRESULT STDMETHODCALLTYPE SetHeader(LPCWSTR name, LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE RemoveHeader(LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE AppendHeader(LPCWSTR name, LPCWSTR value) override;

private:
    THeaderList FHeaders;
};

} // namespace CrvWebView
