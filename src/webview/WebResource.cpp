// Resource requests and responses.
#include "webview/WebResource.h"

#include "webview/Text.h"

namespace CrvWebView {

namespace {

template <class I> HRESULT OutObject(I* object, I** out) {
    if (!out) return E_POINTER;
    *out = object;
    if (object) object->AddRef();
    return S_OK;
}

} // namespace

TWebResourceRequest::TWebResourceRequest(std::string uri, std::string method,
                                         std::function<THeaderList()> readHeaders,
                                         std::function<IStream*()> readBody)
    : FUri(std::move(uri)), FMethod(std::move(method)), FReadHeaders(std::move(readHeaders)),
      FReadBody(std::move(readBody)) {}

HRESULT TWebResourceRequest::get_Uri(LPWSTR* uri) {
    return OutString(FUri, uri);
}
HRESULT TWebResourceRequest::put_Uri(LPCWSTR uri) {
    if (!uri) return E_POINTER;
    FUri = ToUtf8(uri);
    return S_OK;
}
HRESULT TWebResourceRequest::get_Method(LPWSTR* method) {
    return OutString(FMethod, method);
}
HRESULT TWebResourceRequest::put_Method(LPCWSTR method) {
    if (!method) return E_POINTER;
    FMethod = ToUtf8(method);
    return S_OK;
}
HRESULT TWebResourceRequest::get_Content(IStream** content) {
    if (!FContent && FReadBody) FContent = ComPtr<IStream>::Attach(std::exchange(FReadBody, nullptr)());
    return OutObject(FContent.Get(), content);
}
HRESULT TWebResourceRequest::put_Content(IStream* content) {
    FReadBody = nullptr;
    FContent = ComPtr<IStream>(content);
    return S_OK;
}
HRESULT TWebResourceRequest::get_Headers(ICoreWebView2HttpRequestHeaders** headers) {
    if (!FHeaders)
        FHeaders = ComPtr<THttpHeaders>::Attach(
            new THttpHeaders(FReadHeaders ? std::exchange(FReadHeaders, nullptr)() : THeaderList{}));
    return OutObject<ICoreWebView2HttpRequestHeaders>(FHeaders.Get(), headers);
}

TWebResourceResponse::TWebResourceResponse(IStream* content, int status, std::string reason,
                                           THeaderList headers)
    : FContent(content), FStatus(status), FReason(std::move(reason)),
      FHeaders(ComPtr<THttpHeaders>::Attach(new THttpHeaders(std::move(headers)))) {}

HRESULT TWebResourceResponse::get_Content(IStream** content) {
    return OutObject(FContent.Get(), content);
}
HRESULT TWebResourceResponse::put_Content(IStream* content) {
    FContent = ComPtr<IStream>(content);
    return S_OK;
}
HRESULT TWebResourceResponse::get_Headers(ICoreWebView2HttpResponseHeaders** headers) {
    return OutObject<ICoreWebView2HttpResponseHeaders>(FHeaders.Get(), headers);
}
HRESULT TWebResourceResponse::get_StatusCode(int* statusCode) {
    if (!statusCode) return E_POINTER;
    *statusCode = FStatus;
    return S_OK;
}
HRESULT TWebResourceResponse::put_StatusCode(int statusCode) {
    FStatus = statusCode;
    return S_OK;
}
HRESULT TWebResourceResponse::get_ReasonPhrase(LPWSTR* reasonPhrase) {
    return OutString(FReason, reasonPhrase);
}
HRESULT TWebResourceResponse::put_ReasonPhrase(LPCWSTR reasonPhrase) {
    if (!reasonPhrase) return E_POINTER;
    FReason = ToUtf8(reasonPhrase);
    return S_OK;
}

} // namespace CrvWebView
