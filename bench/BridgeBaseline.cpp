// Benchmark baseline: the least a GTK + WebKitGTK program does to show a page served from memory
// through a custom scheme and answer its window.crv calls. The runtime's own bridge script makes
// the calls; the host answers hello, files.writeTextFile (the file is written beside the page and
// its contents printed as a line) and app.close. Replies reach the page one of two ways:
// - by default on the answer to the call's own script message, as the browser loader stand-in does
//   (other messages answer the page's one open request);
// - with --evaluate, by running a script in the page for each call (webkit_web_view_evaluate_javascript).
#include <webkit2/webkit2.h>

#include <cstdio>
#include <string>
#include <utility>

namespace {

// window.chrome.webview for a top document, taking replies either way.
constexpr const char* kChannelScript = R"js((function (evaluate) {
  'use strict';
  const handlers = window.webkit && window.webkit.messageHandlers;
  const channel = handlers && handlers.bench;
  if (!channel || (window.chrome && window.chrome.webview)) return;
  const send = channel.postMessage.bind(channel);
  const events = new EventTarget();
  const deliver = (batch) => {
    for (const data of batch) events.dispatchEvent(new MessageEvent('message', { data }));
  };
  const webview = Object.freeze({
    postMessage(message) {
      const json = JSON.stringify(message);
      if (json === undefined) throw new TypeError('postMessage: the message cannot be turned into JSON');
      const answer = send('m' + location.href + '\n' + json);
      if (!evaluate) answer.then((batch) => { if (typeof batch === 'string') deliver(JSON.parse(batch)); }, () => {});
    },
    addEventListener(type, listener, options) { events.addEventListener(type, listener, options); },
    removeEventListener(type, listener, options) { events.removeEventListener(type, listener, options); },
  });
  if (!window.chrome) window.chrome = {};
  Object.defineProperty(window.chrome, 'webview', { value: webview, enumerable: true });
  if (evaluate) {
    Object.defineProperty(window, '__benchDeliver', { value: deliver });
    return;
  }
  const receive = () => {
    send('p').then((batch) => {
      if (typeof batch !== 'string') return;
      deliver(JSON.parse(batch));
      receive();
    }, () => {});
  };
  receive();
}))js";

bool Evaluate = false;
WebKitWebView* View = nullptr;
std::string PageFolder;
GBytes* Page = nullptr;

// Made on first use: a context made before the first web view keeps that view from loading anything.
JSCContext* Values() {
    static JSCContext* context = jsc_context_new();
    return context;
}

WebKitScriptMessageReply* PendingPull = nullptr;
// The call being answered: replies made meanwhile ride on its answer.
WebKitScriptMessageReply* CallReply = nullptr;
std::string Queued;

void Answer(WebKitScriptMessageReply* reply) {
    const std::string batch = "[" + Queued + "]";
    Queued.clear();
    if (Evaluate) {
        const std::string script = "window.__benchDeliver(" + batch + ");";
        webkit_web_view_evaluate_javascript(View, script.c_str(), -1, nullptr, nullptr, nullptr, nullptr,
                                            nullptr);
        return;
    }
    JSCValue* value = jsc_value_new_string(Values(), batch.c_str());
    webkit_script_message_reply_return_value(reply, value);
    g_object_unref(value);
}

void Flush() {
    Answer(PendingPull);
    webkit_script_message_reply_unref(std::exchange(PendingPull, nullptr));
}

void Reply(const std::string& uuid, const std::string& result) {
    if (!Queued.empty()) Queued += ',';
    Queued += "{\"uuid\": \"" + uuid + "\", \"success\": true, \"result\": " + result + "}";
    if (PendingPull && !CallReply) Flush();
}

std::string Text(JSCValue* object, const char* name) {
    JSCValue* member = jsc_value_object_get_property(object, name);
    gchar* text = jsc_value_to_string(member);
    std::string result = text ? text : "";
    g_free(text);
    g_object_unref(member);
    return result;
}

void WriteTextFile(const std::string& uuid, JSCValue* call) {
    JSCValue* data = jsc_value_object_get_property(call, "data");
    const std::string contents = Text(data, "contents");
    const std::string path = PageFolder + "/" + Text(data, "filePath");
    g_object_unref(data);
    g_file_set_contents(path.c_str(), contents.c_str(), static_cast<gssize>(contents.size()), nullptr);
    std::printf("%s\n", contents.c_str());
    std::fflush(stdout);
    Reply(uuid, "true");
}

// One call: {id, uuid, data}.
void Call(const std::string& json) {
    JSCValue* call = jsc_value_new_from_json(Values(), json.c_str());
    if (!call || !jsc_value_is_object(call)) {
        std::fprintf(stderr, "not a call: %s\n", json.c_str());
        if (call) g_object_unref(call);
        return;
    }
    const std::string id = Text(call, "id");
    const std::string uuid = Text(call, "uuid");
    if (id == "10001")
        Reply(uuid, "\"2021.47\"");
    else if (id == "30003")
        WriteTextFile(uuid, call);
    else if (id == "50001")
        gtk_main_quit();
    else
        std::fprintf(stderr, "unknown call: %s\n", json.c_str());
    g_object_unref(call);
}

gboolean Message(WebKitUserContentManager*, JSCValue* value, WebKitScriptMessageReply* reply, gpointer) {
    gchar* raw = jsc_value_to_string(value);
    const std::string text = raw ? raw : "";
    g_free(raw);
    if (text.empty()) return TRUE;
    if (text[0] == 'p') {
        if (PendingPull) webkit_script_message_reply_unref(PendingPull);
        PendingPull = webkit_script_message_reply_ref(reply);
        if (!Queued.empty()) Flush();
    } else if (text[0] == 'm') {
        const size_t split = text.find('\n');
        if (split == std::string::npos) return TRUE;
        CallReply = reply;
        Call(text.substr(split + 1));
        CallReply = nullptr;
        if (!Queued.empty()) Answer(reply);
    }
    return TRUE;
}

// The page, from memory; the scheme has only this one document.
void Serve(WebKitURISchemeRequest* request, gpointer) {
    GInputStream* stream = g_memory_input_stream_new_from_bytes(Page);
    WebKitURISchemeResponse* response = webkit_uri_scheme_response_new(stream, g_bytes_get_size(Page));
    webkit_uri_scheme_response_set_content_type(response, "text/html");
    webkit_uri_scheme_request_finish_with_response(request, response);
    g_object_unref(response);
    g_object_unref(stream);
}

} // namespace

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    int first = 1;
    if (argc > 1 && std::string(argv[1]) == "--evaluate") {
        Evaluate = true;
        first = 2;
    }
    gchar* page = nullptr;
    gsize pageSize = 0;
    gchar* bridge = nullptr;
    if (argc - first != 2 || !g_path_is_absolute(argv[first]) ||
        !g_file_get_contents(argv[first], &page, &pageSize, nullptr) ||
        !g_file_get_contents(argv[first + 1], &bridge, nullptr, nullptr)) {
        std::fprintf(stderr, "usage: %s [--evaluate] /ABSOLUTE/PAGE.html BRIDGE-SCRIPT.js\n", argv[0]);
        return 2;
    }
    Page = g_bytes_new_take(page, pageSize);
    gchar* folder = g_path_get_dirname(argv[first]);
    PageFolder = folder;
    g_free(folder);
    const std::string pageScript =
        std::string(kChannelScript) + "(" + (Evaluate ? "true" : "false") + ");\n" + bridge;
    g_free(bridge);

    WebKitWebContext* context = webkit_web_context_get_default();
    webkit_web_context_register_uri_scheme(context, "bench", Serve, nullptr, nullptr);
    WebKitUserContentManager* content = webkit_user_content_manager_new();
    g_signal_connect(content, "script-message-with-reply-received::bench", G_CALLBACK(Message), nullptr);
    webkit_user_content_manager_register_script_message_handler_with_reply(content, "bench", nullptr);
    WebKitUserScript* script =
        webkit_user_script_new(pageScript.c_str(), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(content, script);
    webkit_user_script_unref(script);
    View = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager", content, nullptr));
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
    gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(View));
    gtk_widget_show_all(window);
    webkit_web_view_load_uri(View, "bench:///index.html");
    gtk_main();
    return 0;
}
