// The picture editor: a registered application for the file's type that is a painting program.
#include "platform/ImageEditor.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <cerrno>
#include <cstring>

namespace Platform {

namespace {

std::string ContentTypeOf(GFile* file, const std::string& path) {
    std::string type;
    if (GFileInfo* info = g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                            G_FILE_QUERY_INFO_NONE, nullptr, nullptr)) {
        if (const char* known = g_file_info_get_content_type(info)) type = known;
        g_object_unref(info);
    } else if (gchar* guessed = g_content_type_guess(path.c_str(), nullptr, 0, nullptr)) {
        type = guessed;
        g_free(guessed);
    }
    gchar* mime = type.empty() ? nullptr : g_content_type_get_mime_type(type.c_str());
    const bool image = mime && std::strncmp(mime, "image/", 6) == 0;
    g_free(mime);
    return image ? type : "image/png";
}

// Painting programs file themselves under RasterGraphics; viewers of pictures too, but add Viewer.
bool IsPaintingProgram(GAppInfo* app) {
    if (!G_IS_DESKTOP_APP_INFO(app)) return false;
    const char* categories = g_desktop_app_info_get_categories(G_DESKTOP_APP_INFO(app));
    if (!categories) return false;
    gchar** list = g_strsplit(categories, ";", -1);
    const bool paints = g_strv_contains(list, "RasterGraphics") && !g_strv_contains(list, "Viewer");
    g_strfreev(list);
    return paints;
}

} // namespace

bool OpenInImageEditor(const std::string& path) {
    GFile* file = g_file_new_for_path(path.c_str());
    GList* apps = g_app_info_get_all_for_type(ContentTypeOf(file, path).c_str());
    GAppInfo* editor = nullptr;
    for (GList* item = apps; item && !editor; item = item->next)
        if (IsPaintingProgram(G_APP_INFO(item->data))) editor = G_APP_INFO(item->data);
    bool started = false;
    if (editor) {
        GList files{file, nullptr, nullptr};
        started = g_app_info_launch(editor, &files, nullptr, nullptr) != FALSE;
    }
    g_list_free_full(apps, g_object_unref);
    g_object_unref(file);
    if (!started) errno = ENOENT;
    return started;
}

} // namespace Platform
