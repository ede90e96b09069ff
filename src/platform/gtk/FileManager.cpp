// Showing a file in the file manager on Linux: the FileManager1 service on the session bus, else the
// containing folder opened with its default application.
#include "platform/FileManager.h"

#include "platform/Process.h"

#include <gio/gio.h>

#include <cerrno>

namespace Platform {

namespace {

// A file manager that is activated by the call may take a moment to start; a bus with nobody
// answering must not hold the caller for long.
constexpr gint kCallTimeoutMs = 5000;

struct TFailure {
    int code = 0;
    std::string message;
};

void Fail(TFailure& failure, GError* error, int code) {
    failure.code = code;
    if (error) {
        g_dbus_error_strip_remote_error(error);
        failure.message = error->message;
        g_error_free(error);
    }
}

bool ShowItem(const gchar* uri, TFailure& failure) {
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (!bus) {
        Fail(failure, error, ECONNREFUSED);
        return false;
    }
    const gchar* uris[] = {uri, nullptr};
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1", "org.freedesktop.FileManager1",
        "ShowItems", g_variant_new("(^ass)", uris, ""), nullptr, G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs,
        nullptr, &error);
    g_object_unref(bus);
    if (!reply) {
        Fail(failure, error, ECONNREFUSED);
        return false;
    }
    g_variant_unref(reply);
    return true;
}

bool OpenFolder(GFile* file, TFailure& failure) {
    GFile* folder = g_file_get_parent(file);
    if (!folder) folder = G_FILE(g_object_ref(file)); // the root shows itself
    bool opened = false;
    if (g_file_query_file_type(folder, G_FILE_QUERY_INFO_NONE, nullptr) != G_FILE_TYPE_DIRECTORY) {
        failure = {ENOENT, {}};
    } else {
        gchar* uri = g_file_get_uri(folder);
        GError* error = nullptr;
        opened = g_app_info_launch_default_for_uri(uri, nullptr, &error);
        if (!opened) Fail(failure, error, ENOENT);
        g_free(uri);
    }
    g_object_unref(folder);
    return opened;
}

} // namespace

bool ShowInFileManager(const std::string& path) {
    GFile* file = g_file_new_for_path(path.c_str()); // relative to the current folder
    gchar* uri = g_file_get_uri(file);
    TFailure failure;
    const bool shown = ShowItem(uri, failure) || OpenFolder(file, failure);
    g_free(uri);
    g_object_unref(file);
    if (!shown) SetLastError(failure.code, failure.message);
    return shown;
}

} // namespace Platform
