// HTTP header collections and header text.
#include "webview/HttpHeaders.h"

#include "webview/Text.h"

namespace CrvWebView {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

class TIterator final : public TComObject<ICoreWebView2HttpHeadersCollectionIterator> {
public:
    explicit TIterator(THeaderList headers) : FHeaders(std::move(headers)) {}

    HRESULT STDMETHODCALLTYPE GetCurrentHeader(LPWSTR* name, LPWSTR* value) override {
        if (!name || !value) return E_POINTER;
        if (FIndex >= FHeaders.size()) return E_FAIL;
        const HRESULT hr = OutString(FHeaders[FIndex].first, name);
        if (hr < 0) return hr;
        return OutString(FHeaders[FIndex].second, value);
    }
    HRESULT STDMETHODCALLTYPE get_HasCurrentHeader(BOOL* hasCurrent) override {
        if (!hasCurrent) return E_POINTER;
        *hasCurrent = FIndex < FHeaders.size();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MoveNext(BOOL* hasNext) override {
        if (!hasNext) return E_POINTER;
        if (FIndex < FHeaders.size()) ++FIndex;
        *hasNext = FIndex < FHeaders.size();
        return S_OK;
    }

private:
    THeaderList FHeaders;
    size_t FIndex = 0;
};

} // namespace

THeaderList ParseHeaderText(std::string_view text) {
    THeaderList headers;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view name = Trim(line.substr(0, colon));
        if (name.empty()) continue;
        headers.emplace_back(std::string(name), std::string(Trim(line.substr(colon + 1))));
    }
    return headers;
}

bool HeaderNameEquals(std::string_view a, std::string_view b) {
    return a.size() == b.size() && Corvane::Abi::StartsWithNoCase(a, b);
}

std::string THttpHeaders::Find(std::string_view name) const {
    for (const auto& [key, value] : FHeaders)
        if (HeaderNameEquals(key, name)) return value;
    return {};
}

HRESULT THttpHeaders::GetHeader(LPCWSTR name, LPWSTR* value) {
    if (!name || !value) return E_POINTER;
    const std::string key = ToUtf8(name);
    // Several values of one name read as one, joined the way HTTP folds them.
    std::string joined;
    bool found = false;
    for (const auto& [k, v] : FHeaders) {
        if (!HeaderNameEquals(k, key)) continue;
        if (found) joined += ", ";
        joined += v;
        found = true;
    }
    if (!found) {
        *value = nullptr;
        return E_INVALIDARG;
    }
    return OutString(joined, value);
}

HRESULT THttpHeaders::GetHeaders(LPCWSTR name, ICoreWebView2HttpHeadersCollectionIterator** value) {
    if (!name || !value) return E_POINTER;
    const std::string key = ToUtf8(name);
    THeaderList matching;
    for (const auto& entry : FHeaders)
        if (HeaderNameEquals(entry.first, key)) matching.push_back(entry);
    *value = new TIterator(std::move(matching));
    return S_OK;
}

HRESULT THttpHeaders::Contains(LPCWSTR name, BOOL* value) {
    if (!name || !value) return E_POINTER;
    const std::string key = ToUtf8(name);
    *value = FALSE;
    for (const auto& entry : FHeaders)
        if (HeaderNameEquals(entry.first, key)) *value = TRUE;
    return S_OK;
}

HRESULT THttpHeaders::GetIterator(ICoreWebView2HttpHeadersCollectionIterator** value) {
    if (!value) return E_POINTER;
    *value = new TIterator(FHeaders);
    return S_OK;
}

HRESULT THttpHeaders::SetHeader(LPCWSTR name, LPCWSTR value) {
    if (!name || !value) return E_POINTER;
    const std::string key = ToUtf8(name);
    if (key.empty()) return E_INVALIDARG;
    std::erase_if(FHeaders, [&](const auto& entry) { return HeaderNameEquals(entry.first, key); });
    FHeaders.emplace_back(key, ToUtf8(value));
    return S_OK;
}

HRESULT THttpHeaders::RemoveHeader(LPCWSTR name) {
    if (!name) return E_POINTER;
    const std::string key = ToUtf8(name);
    std::erase_if(FHeaders, [&](const auto& entry) { return HeaderNameEquals(entry.first, key); });
    return S_OK;
}

HRESULT THttpHeaders::AppendHeader(LPCWSTR name, LPCWSTR value) {
    if (!name || !value) return E_POINTER;
    const std::string key = ToUtf8(name);
    if (key.empty()) return E_INVALIDARG;
    FHeaders.emplace_back(key, ToUtf8(value));
    return S_OK;
}

} // namespace CrvWebView
