// Benchmark baseline: the least a GTK + WebKitGTK program does to serve pages from memory through a
// custom scheme. It preloads a folder, answers every request with the bytes where they lie, and prints
// each message of the page (window.webkit.messageHandlers.bench) as a line.
#include <webkit2/webkit2.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

std::map<std::string, GBytes*> Files;

void Preload(const std::string& root, const std::string& relative) {
    const std::string folder = relative.empty() ? root : root + "/" + relative;
    GDir* dir = g_dir_open(folder.c_str(), 0, nullptr);
    if (!dir) return;
    while (const char* name = g_dir_read_name(dir)) {
        const std::string child = relative.empty() ? name : relative + "/" + name;
        const std::string path = root + "/" + child;
        if (g_file_test(path.c_str(), G_FILE_TEST_IS_DIR)) {
            Preload(root, child);
            continue;
        }
        gchar* data = nullptr;
        gsize size = 0;
        if (g_file_get_contents(path.c_str(), &data, &size, nullptr))
            Files["/" + child] = g_bytes_new_take(data, size);
    }
    g_dir_close(dir);
}

const char* MimeType(const std::string& path) {
    if (g_str_has_suffix(path.c_str(), ".html")) return "text/html";
    if (g_str_has_suffix(path.c_str(), ".js")) return "text/javascript";
    if (g_str_has_suffix(path.c_str(), ".png")) return "image/png";
    return "application/octet-stream";
}

void Serve(WebKitURISchemeRequest* request, gpointer) {
    const auto it = Files.find(webkit_uri_scheme_request_get_path(request));
    if (it == Files.end()) {
        GError* error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "not found");
        webkit_uri_scheme_request_finish_error(request, error);
        g_error_free(error);
        return;
    }
    GInputStream* stream = g_memory_input_stream_new_from_bytes(it->second);
    WebKitURISchemeResponse* response = webkit_uri_scheme_response_new(stream, g_bytes_get_size(it->second));
    webkit_uri_scheme_response_set_content_type(response, MimeType(it->first));
    SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    soup_message_headers_append(headers, "Access-Control-Allow-Origin", "*");
    webkit_uri_scheme_response_set_http_headers(response, headers);
    webkit_uri_scheme_request_finish_with_response(request, response);
    g_object_unref(response);
    g_object_unref(stream);
}

gboolean Message(WebKitUserContentManager*, JSCValue* value, WebKitScriptMessageReply*, gpointer) {
    gchar* text = jsc_value_to_string(value);
    std::printf("%s\n", text);
    std::fflush(stdout);
    if (std::strstr(text, "\"host\":\"quit\"")) gtk_main_quit();
    g_free(text);
    return TRUE;
}

} // namespace

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ROOT START-PATH\n", argv[0]);
        return 2;
    }
    Preload(argv[1], "");
    WebKitWebContext* context = webkit_web_context_new_ephemeral();
    webkit_web_context_register_uri_scheme(context, "bench", Serve, nullptr, nullptr);
    WebKitSecurityManager* security = webkit_web_context_get_security_manager(context);
    webkit_security_manager_register_uri_scheme_as_secure(security, "bench");
    webkit_security_manager_register_uri_scheme_as_cors_enabled(security, "bench");
    WebKitUserContentManager* content = webkit_user_content_manager_new();
    g_signal_connect(content, "script-message-with-reply-received::bench", G_CALLBACK(Message), nullptr);
    webkit_user_content_manager_register_script_message_handler_with_reply(content, "bench", nullptr);
    GtkWidget* view = GTK_WIDGET(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "user-content-manager", content, nullptr));
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
    gtk_container_add(GTK_CONTAINER(window), view);
    gtk_widget_show_all(window);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), (std::string("bench://") + argv[2]).c_str());
    gtk_main();
    return 0;
}
