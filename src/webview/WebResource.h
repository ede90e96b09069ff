// A resource request as the host sees it, and the response the host makes for it.
#pragma once

#include <functional>
#include <string>

#include "abi/ComObject.h"
#include "abi/ComPtr.h"
#include "webview/HttpHeaders.h"

namespace CrvWebView {

using namespace WebView2;

class TWebResourceRequest final : public TComObject<ICoreWebView2WebResourceRequest> {
public:
    // readHeaders and readBody give the request's headers and body when a handler first asks for them
    // (a null body: none); most handlers never do.
    TWebResourceRequest(std::string uri, std::string method, std::function<THeaderList()> readHeaders,
                        std::function<IStream*()> readBody);

    const std::string& Uri() const { return FUri; }

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE put_Uri(LPCWSTR uri) override;
    HRESULT STDMETHODCALLTYPE get_Method(LPWSTR* method) override;
    HRESULT STDMETHODCALLTYPE put_Method(LPCWSTR method) override;
    HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
    HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override;
    HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpRequestHeaders** headers) override;

private:
    std::string FUri;
    std::string FMethod;
    ComPtr<THttpHeaders> FHeaders;
    std::function<THeaderList()> FReadHeaders;
    std::function<IStream*()> FReadBody;
    ComPtr<IStream> FContent;
};

class TWebResourceResponse final : public TComObject<ICoreWebView2WebResourceResponse> {
public:
    TWebResourceResponse(IStream* content, int status, std::string reason, THeaderList headers);

    IStream* Content() const { return FContent.Get(); }
    int Status() const { return FStatus; }
    const std::string& Reason() const { return FReason; }
    const THeaderList& Headers() const { return FHeaders->List(); }

    HRESULT STDMETHODCALLTYPE get_Content(IStream** content) override;
    HRESULT STDMETHODCALLTYPE put_Content(IStream* content) override;
    HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpResponseHeaders** headers) override;
    HRESULT STDMETHODCALLTYPE get_StatusCode(int* statusCode) override;
    HRESULT STDMETHODCALLTYPE put_StatusCode(int statusCode) override;
    HRESULT STDMETHODCALLTYPE get_ReasonPhrase(LPWSTR* reasonPhrase) override;
    HRESULT STDMETHODCALLTYPE put_ReasonPhrase(LPCWSTR reasonPhrase) override;

private:
    ComPtr<IStream> FContent;
    int FStatus;
    std::string FReason;
    ComPtr<THttpHeaders> FHeaders;
};

} // namespace CrvWebView
