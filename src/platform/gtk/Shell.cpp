// Starting programs with GLib and opening everything else through GIO's default applications.
#include "platform/Shell.h"

#include <gio/gio.h>
#include <unistd.h>

#include <cerrno>
#include <sys/stat.h>

namespace Platform {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool Spawn(const std::string& file, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(file.c_str()));
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    GError* error = nullptr;
    // Without G_SPAWN_DO_NOT_REAP_CHILD GLib reaps the child, so no zombie is left behind.
    const bool ok =
        g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, &error);
    if (error) {
        errno = error->domain == G_SPAWN_ERROR && error->code == G_SPAWN_ERROR_NOENT ? ENOENT : EACCES;
        g_error_free(error);
    }
    return ok;
}

bool OpenWithDefault(const std::string& target) {
    gchar* uri = nullptr;
    if (g_uri_is_valid(target.c_str(), G_URI_FLAGS_NONE, nullptr) && target.find("://") != std::string::npos)
        uri = g_strdup(target.c_str());
    else if (g_file_test(target.c_str(), G_FILE_TEST_EXISTS))
        uri = g_filename_to_uri(target.c_str(), nullptr, nullptr);
    if (!uri) {
        errno = ENOENT;
        return false;
    }
    GError* error = nullptr;
    const bool ok = g_app_info_launch_default_for_uri(uri, nullptr, &error);
    g_free(uri);
    if (error) {
        errno = ENOENT;
        g_error_free(error);
    }
    return ok;
}

} // namespace

bool ShellOpen(const std::string& file, const std::vector<std::string>& args) {
    if (IsExecutableFile(file)) return Spawn(file, args);
    return OpenWithDefault(file);
}

} // namespace Platform
