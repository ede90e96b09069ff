// Shortcut targets on Linux: symbolic links and desktop launchers.
#include "platform/Shortcuts.h"

#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace Platform {

namespace {

std::string LinkTarget(const std::string& path) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) return {};
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return {};
    return (absolute.parent_path() / target).lexically_normal().string();
}

std::string LauncherTarget(const std::string& path) {
    GKeyFile* file = g_key_file_new();
    std::string target;
    if (g_key_file_load_from_file(file, path.c_str(), G_KEY_FILE_NONE, nullptr)) {
        gchar* type =
            g_key_file_get_string(file, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_TYPE, nullptr);
        const bool isLink = type && g_str_equal(type, G_KEY_FILE_DESKTOP_TYPE_LINK);
        g_free(type);
        if (isLink) {
            if (gchar* url = g_key_file_get_string(file, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_URL,
                                                   nullptr)) {
                target = url;
                g_free(url);
            }
        } else if (gchar* exec = g_key_file_get_string(file, G_KEY_FILE_DESKTOP_GROUP,
                                                       G_KEY_FILE_DESKTOP_KEY_EXEC, nullptr)) {
            // The launcher's quoting is the shell's, less its expansions; the program is the first word.
            gchar** argv = nullptr;
            if (g_shell_parse_argv(exec, nullptr, &argv, nullptr) && argv[0]) {
                target = argv[0];
                if (target.find('/') == std::string::npos) {
                    if (gchar* found = g_find_program_in_path(argv[0])) {
                        target = found;
                        g_free(found);
                    }
                }
            }
            g_strfreev(argv);
            g_free(exec);
        }
    }
    g_key_file_free(file);
    return target;
}

} // namespace

std::string ShortcutTarget(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return {};
    if (S_ISLNK(st.st_mode)) return LinkTarget(path);
    if (S_ISREG(st.st_mode) && g_str_has_suffix(path.c_str(), ".desktop")) return LauncherTarget(path);
    return {};
}

} // namespace Platform
