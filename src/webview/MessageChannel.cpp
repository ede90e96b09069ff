// The page channel: window.chrome.webview in every document, messages from pages to the host and back,
// and the reports of sub-frame loads and window.close() that ride on it.
#include "webview/BrowserView.h"

#include <nlohmann/json.hpp>

#include "webview/EventArgs.h"
#include "webview/FileUris.h"
#include "webview/Text.h"

namespace CrvWebView {

namespace {

constexpr const char* kHandler = "crvwebview";

// Runs first in every document of every frame. Page to host: one message per post, with the sender's
// address. Host to page: the top document keeps one request open that the host answers with every
// message waiting, as a JSON array; the document then asks again. What the host posts while it
// handles a message of the top document rides back on that message's own answer instead, which
// saves the request a call's reply would otherwise cost.
constexpr const char* kPageScript = R"js((function () {
  'use strict';
  const handlers = window.webkit && window.webkit.messageHandlers;
  const channel = handlers && handlers.crvwebview;
  if (!channel || (window.chrome && window.chrome.webview)) return;
  const send = channel.postMessage.bind(channel);
  const events = new EventTarget();
  const top = window === window.top;
  const deliver = (batch) => {
    for (const data of JSON.parse(batch)) events.dispatchEvent(new MessageEvent('message', { data }));
  };
  const webview = Object.freeze({
    postMessage(message) {
      const json = JSON.stringify(message);
      if (json === undefined) throw new TypeError('postMessage: the message cannot be turned into JSON');
      if (!top) return void send('m' + location.href + '\n' + json);
      send('M' + location.href + '\n' + json).then((batch) => {
        if (typeof batch === 'string') deliver(batch);
      }, () => {});
    },
    addEventListener(type, listener, options) { events.addEventListener(type, listener, options); },
    removeEventListener(type, listener, options) { events.removeEventListener(type, listener, options); },
  });
  if (!window.chrome) window.chrome = {};
  Object.defineProperty(window.chrome, 'webview', { value: webview, enumerable: true });
  if (!top) {
    send('f' + location.href);
    window.addEventListener('load', () => send('F' + location.href));
    return;
  }
  let receiving = false;
  const receive = () => {
    receiving = true;
    send('p').then((batch) => {
      // No batch: a newer document of this view took over the channel.
      if (typeof batch !== 'string') { receiving = false; return; }
      deliver(batch);
      receive();
    }, () => { receiving = false; });
  };
  receive();
  window.addEventListener('pageshow', (event) => { if (event.persisted && !receiving) receive(); });
  window.close = () => { send('c'); };
})();)js";

// Values handed to the page are made here; the browser copies them into the page.
JSCContext* ValueContext() {
    static JSCContext* context = jsc_context_new();
    return context;
}

// Checked without building any value: every reply of a call passes here.
bool IsJson(const std::string& text) {
    return nlohmann::json::accept(text);
}

} // namespace

void TBrowserView::ConnectMessageChannel() {
    const std::string signal = std::string("script-message-with-reply-received::") + kHandler;
    g_signal_connect(FContentManager, signal.c_str(), G_CALLBACK(OnPageMessage), this);
    webkit_user_content_manager_register_script_message_handler_with_reply(FContentManager, kHandler,
                                                                           nullptr);
    WebKitUserScript* script =
        webkit_user_script_new(kPageScript, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(FContentManager, script);
    webkit_user_script_unref(script);
}

gboolean TBrowserView::OnPageMessage(WebKitUserContentManager*, JSCValue* value,
                                     WebKitScriptMessageReply* reply, gpointer data) {
    auto* self = static_cast<TBrowserView*>(data);
    if (self->FClosed || !jsc_value_is_string(value)) return TRUE;
    gchar* raw = jsc_value_to_string(value);
    const std::string text = raw ? raw : "";
    g_free(raw);
    if (text.empty()) return TRUE;
    ComPtr<TBrowserView> keep(self);
    switch (text[0]) {
    case 'p':
        // A request superseded without an answer tells its (gone or frozen) document to stop asking.
        if (self->FPendingPull) webkit_script_message_reply_unref(self->FPendingPull);
        self->FPendingPull = webkit_script_message_reply_ref(reply);
        if (!self->FQueuedMessages.empty()) self->FlushToPage();
        break;
    case 'M':
        self->WebMessage(text.substr(1), reply);
        break;
    case 'm':
        self->WebMessage(text.substr(1), nullptr);
        break;
    case 'c':
        self->FWindowCloseRequested.Raise(self->AsWebView(), static_cast<IUnknown*>(nullptr));
        break;
    case 'f':
    case 'F':
        self->FrameMessage(text[0], text.substr(1));
        break;
    default:
        break;
    }
    return TRUE;
}

void TBrowserView::WebMessage(const std::string& text, WebKitScriptMessageReply* reply) {
    // Posts made while the message is handled wait for its answer (nested messages keep their own).
    WebKitScriptMessageReply* outer = std::exchange(FMessageReply, reply);
    RaiseWebMessage(text);
    FMessageReply = outer;
    if (reply && !FQueuedMessages.empty()) {
        if (FClosed) return;
        Answer(reply);
    }
}

void TBrowserView::RaiseWebMessage(const std::string& text) {
    if (!FSettings->WebMessageEnabled()) return;
    const size_t split = text.find('\n');
    if (split == std::string::npos) return;
    std::string source = text.substr(0, split);
    // Only the app's own pages are of the private scheme, and no other page can frame them: a remote
    // document that claims such an address is told apart by the view's own address.
    const std::string top = webkit_web_view_get_uri(FView) ? webkit_web_view_get_uri(FView) : "";
    if (IsPrivateUri(source) && !IsPrivateUri(top)) source = top;
    if (FWebMessageReceived.Empty()) return;
    auto args = ComPtr<TWebMessageReceivedArgs>::Attach(
        new TWebMessageReceivedArgs(ToHostUri(source), text.substr(split + 1)));
    FWebMessageReceived.Raise(AsWebView(),
                              static_cast<ICoreWebView2WebMessageReceivedEventArgs*>(args.Get()));
}

// Sub-frames report their document's start and load; the browser says nothing of them to us.
void TBrowserView::FrameMessage(char kind, const std::string& uri) {
    if (kind == 'f') {
        const UINT64 id = FNextNavigationId++;
        FFrameNavigations[uri] = id;
        if (FFrameNavigationStarting.Empty()) return;
        auto args = ComPtr<TNavigationStartingArgs>::Attach(
            new TNavigationStartingArgs(ToHostUri(uri), false, false, id));
        FFrameNavigationStarting.Raise(AsWebView(),
                                       static_cast<ICoreWebView2NavigationStartingEventArgs*>(args.Get()));
        return;
    }
    UINT64 id = 0;
    if (const auto it = FFrameNavigations.find(uri); it != FFrameNavigations.end()) {
        id = it->second;
        FFrameNavigations.erase(it);
    }
    if (FFrameNavigationCompleted.Empty()) return;
    auto args = ComPtr<TNavigationCompletedArgs>::Attach(
        new TNavigationCompletedArgs(true, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN, id));
    FFrameNavigationCompleted.Raise(AsWebView(),
                                    static_cast<ICoreWebView2NavigationCompletedEventArgs*>(args.Get()));
}

void TBrowserView::QueueForPage(const std::string& json) {
    if (!FQueuedMessages.empty()) FQueuedMessages += ',';
    FQueuedMessages += json;
    if (FPendingPull && !FMessageReply) FlushToPage();
}

void TBrowserView::FlushToPage() {
    Answer(FPendingPull);
    webkit_script_message_reply_unref(std::exchange(FPendingPull, nullptr));
}

// Hands every waiting message to the page as one JSON array.
void TBrowserView::Answer(WebKitScriptMessageReply* reply) {
    const std::string batch = "[" + FQueuedMessages + "]";
    FQueuedMessages.clear();
    JSCValue* value = jsc_value_new_string(ValueContext(), batch.c_str());
    webkit_script_message_reply_return_value(reply, value);
    g_object_unref(value);
}

HRESULT TBrowserView::PostWebMessageAsJson(LPCWSTR webMessageAsJson) {
    CRV_REQUIRE_OPEN();
    if (!webMessageAsJson) return E_INVALIDARG;
    const std::string json = ToUtf8(webMessageAsJson);
    if (!IsJson(json)) return E_INVALIDARG;
    if (FSettings->WebMessageEnabled()) QueueForPage(json);
    return S_OK;
}

HRESULT TBrowserView::PostWebMessageAsString(LPCWSTR webMessageAsString) {
    CRV_REQUIRE_OPEN();
    if (!webMessageAsString) return E_INVALIDARG;
    if (FSettings->WebMessageEnabled()) QueueForPage(JsonQuote(ToUtf8(webMessageAsString)));
    return S_OK;
}

} // namespace CrvWebView
