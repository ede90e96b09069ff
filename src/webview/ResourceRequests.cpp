// Requests of the private scheme.
#include "webview/ResourceRequests.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "abi/MemoryStream.h"
#include "webview/BrowserView.h"
#include "webview/EventArgs.h"
#include "webview/FileUris.h"
#include "webview/ResponseStream.h"
#include "webview/Text.h"
#include "webview/WebResource.h"

namespace CrvWebView {

namespace {

// The origin of the app's own pages, which may read the scheme's responses from scripts.
const std::string& PrivateOrigin() {
    static const std::string origin = std::string(kPrivateScheme) + "://";
    return origin;
}

// Response headers for the browser. Pages of the private scheme may read the response from scripts;
// naming their origin without looking at the request's costs nothing, as no other origin matches it.
SoupMessageHeaders* BrowserHeaders(const THeaderList& headers) {
    SoupMessageHeaders* out = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    bool allowsOrigin = false;
    for (const auto& [name, value] : headers) {
        soup_message_headers_append(out, name.c_str(), value.c_str());
        allowsOrigin = allowsOrigin || HeaderNameEquals(name, "Access-Control-Allow-Origin");
    }
    if (!allowsOrigin) {
        soup_message_headers_append(out, "Access-Control-Allow-Origin", PrivateOrigin().c_str());
        soup_message_headers_append(out, "Access-Control-Expose-Headers", "*");
    }
    return out;
}

void Finish(WebKitURISchemeRequest* request, GInputStream* stream, gint64 length, int status,
            const std::string& reason, const std::string& contentType, const THeaderList& headers) {
    WebKitURISchemeResponse* response = webkit_uri_scheme_response_new(stream, length);
    webkit_uri_scheme_response_set_status(response, static_cast<guint>(status),
                                          reason.empty() ? nullptr : reason.c_str());
    if (!contentType.empty()) webkit_uri_scheme_response_set_content_type(response, contentType.c_str());
    webkit_uri_scheme_response_set_http_headers(response, BrowserHeaders(headers));
    webkit_uri_scheme_request_finish_with_response(request, response);
    g_object_unref(response);
}

void FinishNotFound(WebKitURISchemeRequest* request) {
    GError* error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "File not found");
    webkit_uri_scheme_request_finish_error(request, error);
    g_error_free(error);
}

// What the browser does with a file: URL: read the file it names, or fail as for a missing file.
void ServeFromDisk(WebKitURISchemeRequest* request, const std::string& hostUri) {
    if (!IsFileUri(hostUri)) return FinishNotFound(request);
    const std::string bare = hostUri.substr(0, hostUri.find_first_of("?#"));
    gchar* host = nullptr;
    gchar* path = g_filename_from_uri(bare.c_str(), &host, nullptr);
    const bool local = path && (!host || std::strcmp(host, "localhost") == 0);
    g_free(host);
    if (!local) {
        g_free(path);
        return FinishNotFound(request);
    }
    GFile* file = g_file_new_for_path(path);
    g_free(path);
    GFileInfo* info = g_file_query_info(file, "standard::type,standard::size,standard::fast-content-type",
                                        G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    GFileInputStream* stream = nullptr;
    if (info && g_file_info_get_file_type(info) == G_FILE_TYPE_REGULAR)
        stream = g_file_read(file, nullptr, nullptr);
    if (!stream) {
        if (info) g_object_unref(info);
        g_object_unref(file);
        return FinishNotFound(request);
    }
    std::string mime;
    if (const char* type =
            g_file_info_get_attribute_string(info, G_FILE_ATTRIBUTE_STANDARD_FAST_CONTENT_TYPE)) {
        gchar* converted = g_content_type_get_mime_type(type);
        if (converted) mime = converted;
        g_free(converted);
    }
    Finish(request, G_INPUT_STREAM(stream), g_file_info_get_size(info), 200, "OK", mime, {});
    g_object_unref(stream);
    g_object_unref(info);
    g_object_unref(file);
}

// A response made by another implementation is read through its interface.
void ReadForeignResponse(ICoreWebView2WebResourceResponse* response, int& status, std::string& reason,
                         THeaderList& headers, ComPtr<IStream>& content) {
    response->get_StatusCode(&status);
    LPWSTR text = nullptr;
    if (response->get_ReasonPhrase(&text) >= 0 && text) reason = ToUtf8(text);
    CoTaskMemFree(text);
    ComPtr<ICoreWebView2HttpResponseHeaders> collection;
    ComPtr<ICoreWebView2HttpHeadersCollectionIterator> iterator;
    if (response->get_Headers(collection.Put()) >= 0 && collection &&
        collection->GetIterator(iterator.Put()) >= 0 && iterator) {
        BOOL has = FALSE;
        while (iterator->get_HasCurrentHeader(&has) >= 0 && has) {
            LPWSTR name = nullptr;
            LPWSTR value = nullptr;
            if (iterator->GetCurrentHeader(&name, &value) >= 0)
                headers.emplace_back(ToUtf8(name), ToUtf8(value));
            CoTaskMemFree(name);
            CoTaskMemFree(value);
            if (iterator->MoveNext(&has) < 0) break;
        }
    }
    response->get_Content(content.Put());
}

void ServeResponse(WebKitURISchemeRequest* request, int status, const std::string& reason,
                   const THeaderList& headers, IStream* content) {
    // The whole header, charset included: the browser takes the media type and the text encoding from it.
    std::string contentType;
    for (const auto& [name, value] : headers) {
        if (HeaderNameEquals(name, "Content-Type")) {
            contentType = value;
            break;
        }
    }
    gint64 length = 0;
    GInputStream* stream = InputStreamFor(content, &length);
    Finish(request, stream, length, status, reason, contentType, headers);
    g_object_unref(stream);
}

// Our own responses are read in place; one made by another implementation, through its interface.
void ServeResponse(WebKitURISchemeRequest* request, ICoreWebView2WebResourceResponse* response) {
    if (const auto* own = dynamic_cast<TWebResourceResponse*>(response))
        return ServeResponse(request, own->Status(), own->Reason(), own->Headers(), own->Content());
    int status = 200;
    std::string reason;
    THeaderList headers;
    ComPtr<IStream> content;
    ReadForeignResponse(response, status, reason, headers, content);
    ServeResponse(request, status, reason, headers, content.Get());
}

THeaderList RequestHeaders(WebKitURISchemeRequest* request) {
    THeaderList headers;
    SoupMessageHeaders* soup = webkit_uri_scheme_request_get_http_headers(request);
    if (!soup) return headers;
    SoupMessageHeadersIter it;
    soup_message_headers_iter_init(&it, soup);
    const char* name = nullptr;
    const char* value = nullptr;
    while (soup_message_headers_iter_next(&it, &name, &value))
        headers.emplace_back(name, value);
    return headers;
}

// The body of a request (a POST from fetch), read when a handler first asks for it.
IStream* ReadRequestBody(WebKitURISchemeRequest* request) {
    GInputStream* body = webkit_uri_scheme_request_get_http_body(request);
    if (!body) return nullptr;
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[16384];
    for (;;) {
        const gssize n = g_input_stream_read(body, buffer, sizeof buffer, nullptr, nullptr);
        if (n <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    g_object_unref(body);
    return CreateMemoryStream(std::move(bytes));
}

} // namespace

void HandleSchemeRequest(WebKitURISchemeRequest* request, gpointer) {
    WebKitWebView* view = webkit_uri_scheme_request_get_web_view(request);
    if (TBrowserView* owner = view ? TBrowserView::FromWidget(view) : nullptr) {
        owner->ServeRequest(request);
        return;
    }
    // Windows the browser opened by itself have no host to ask.
    ServeFromDisk(request, ToHostUri(webkit_uri_scheme_request_get_uri(request)));
}

bool TBrowserView::Intercepts(const std::string& hostUri) const {
    for (const auto& filter : FFilters)
        if (MatchesUriPattern(filter.first, hostUri)) return true;
    return false;
}

void TBrowserView::ServeRequest(WebKitURISchemeRequest* request) {
    const std::string browserUri = webkit_uri_scheme_request_get_uri(request);
    if (!FCancelledUri.empty() && browserUri == FCancelledUri) {
        FCancelledUri.clear();
        GError* error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_CANCELLED, "Navigation cancelled");
        webkit_uri_scheme_request_finish_error(request, error);
        g_error_free(error);
        return;
    }
    const std::string hostUri = ToHostUri(browserUri);
    if (FClosed || FWebResourceRequested.Empty() || !Intercepts(hostUri))
        return ServeFromDisk(request, hostUri);

    const char* method = webkit_uri_scheme_request_get_http_method(request);
    g_object_ref(request);
    // The request object may outlive the answer; it keeps the browser's request for what it reads late.
    std::shared_ptr<WebKitURISchemeRequest> held(WEBKIT_URI_SCHEME_REQUEST(g_object_ref(request)),
                                                 g_object_unref);
    auto resource = ComPtr<TWebResourceRequest>::Attach(new TWebResourceRequest(
        hostUri, method ? method : "GET", [held] { return RequestHeaders(held.get()); },
        [held] { return ReadRequestBody(held.get()); }));
    // The browser does not say what a request is for; the main document is the one known case.
    const auto context = FProvisional && ToHostUri(FPendingUri) == hostUri
                             ? COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT
                             : COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER;
    auto args = ComPtr<TWebResourceRequestedArgs>::Attach(new TWebResourceRequestedArgs(
        resource.Get(), context,
        [request](ICoreWebView2WebResourceRequest* asked, ICoreWebView2WebResourceResponse* response) {
            if (response) {
                ServeResponse(request, response);
            } else {
                // A handler may have pointed the request at another file.
                LPWSTR uri = nullptr;
                asked->get_Uri(&uri);
                ServeFromDisk(request, ToUtf8(uri));
                CoTaskMemFree(uri);
            }
            g_object_unref(request);
        }));
    ComPtr<TBrowserView> keep(this);
    FWebResourceRequested.Raise(AsWebView(),
                                static_cast<ICoreWebView2WebResourceRequestedEventArgs*>(args.Get()));
    args->HandlersDone();
}

// Every filter matches requests of every kind: the browser does not tell what a request is for.
HRESULT TBrowserView::AddWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) {
    CRV_REQUIRE_OPEN();
    if (!uri) return E_INVALIDARG;
    if (context < COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL || context > COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER)
        return E_INVALIDARG;
    FFilters.emplace_back(ToUtf8(uri), context);
    return S_OK;
}

HRESULT TBrowserView::RemoveWebResourceRequestedFilter(LPCWSTR uri,
                                                       COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) {
    CRV_REQUIRE_OPEN();
    if (!uri) return E_INVALIDARG;
    const std::string pattern = ToUtf8(uri);
    for (auto it = FFilters.begin(); it != FFilters.end(); ++it) {
        if (it->first == pattern && it->second == context) {
            FFilters.erase(it);
            return S_OK;
        }
    }
    return E_INVALIDARG;
}

} // namespace CrvWebView
