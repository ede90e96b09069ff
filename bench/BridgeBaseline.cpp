// Benchmark baseline: the least a GTK + WebKitGTK program does to answer a page's calls the way the
// browser loader stand-in carries them. The page posts each call through a script message handler;
// the host answers each call's message with the replies made while it handled it (other messages
// answer the page's one open request), as a JSON array, and the page dispatches each as a message
// event. The runtime's own window.crv script makes the calls; the host answers hello,
// files.writeTextFile (whose contents are printed as a line) and app.close.
#include <webkit2/webkit2.h>

#include <cstdio>
#include <string>
#include <utility>

namespace {

// window.chrome.webview as the stand-in makes it for a top document; the runtime's own bridge
// script (given on the command line) follows it.
constexpr const char* kChannelScript = R"js((function () {
  'use strict';
  const handlers = window.webkit && window.webkit.messageHandlers;
  const channel = handlers && handlers.bench;
  if (!channel || (window.chrome && window.chrome.webview)) return;
  const send = channel.postMessage.bind(channel);
  const events = new EventTarget();
  const deliver = (batch) => {
    for (const data of JSON.parse(batch)) events.dispatchEvent(new MessageEvent('message', { data }));
  };
  const webview = Object.freeze({
    postMessage(message) {
      const json = JSON.stringify(message);
      if (json === undefined) throw new TypeError('postMessage: the message cannot be turned into JSON');
      send('m' + location.href + '\n' + json).then((batch) => {
        if (typeof batch === 'string') deliver(batch);
      }, () => {});
    },
    addEventListener(type, listener, options) { events.addEventListener(type, listener, options); },
    removeEventListener(type, listener, options) { events.removeEventListener(type, listener, options); },
  });
  if (!window.chrome) window.chrome = {};
  Object.defineProperty(window.chrome, 'webview', { value: webview, enumerable: true });
  const receive = () => {
    send('p').then((batch) => {
      if (typeof batch !== 'string') return;
      deliver(batch);
      receive();
    }, () => {});
  };
  receive();
})();
)js";

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
    if (id == "10001") {
        Reply(uuid, "\"2021.47\"");
    } else if (id == "30003") {
        JSCValue* data = jsc_value_object_get_property(call, "data");
        std::printf("%s\n", Text(data, "contents").c_str());
        std::fflush(stdout);
        g_object_unref(data);
        Reply(uuid, "true");
    } else if (id == "50001") {
        gtk_main_quit();
    } else {
        std::fprintf(stderr, "unknown call: %s\n", json.c_str());
    }
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

} // namespace

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    gchar* bridge = nullptr;
    if (argc < 3 || !g_file_get_contents(argv[2], &bridge, nullptr, nullptr)) {
        std::fprintf(stderr, "usage: %s PAGE.html BRIDGE-SCRIPT.js\n", argv[0]);
        return 2;
    }
    const std::string pageScript = std::string(kChannelScript) + bridge;
    g_free(bridge);
    WebKitUserContentManager* content = webkit_user_content_manager_new();
    g_signal_connect(content, "script-message-with-reply-received::bench", G_CALLBACK(Message), nullptr);
    webkit_user_content_manager_register_script_message_handler_with_reply(content, "bench", nullptr);
    WebKitUserScript* script =
        webkit_user_script_new(pageScript.c_str(), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(content, script);
    webkit_user_script_unref(script);
    GtkWidget* view =
        GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager", content, nullptr));
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
    gtk_container_add(GTK_CONTAINER(window), view);
    gtk_widget_show_all(window);
    gchar* uri = g_filename_to_uri(argv[1], nullptr, nullptr);
    if (!uri) {
        std::fprintf(stderr, "not an absolute path: %s\n", argv[1]);
        return 2;
    }
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), uri);
    g_free(uri);
    gtk_main();
    return 0;
}
