// Well-known folders on Linux: the XDG base and user directories.
#include "platform/Folders.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <string_view>
#include <unistd.h>

namespace Platform {

namespace {

std::string WithDelim(std::string path) {
    if (path.empty() || path.back() != PathDelim) path += PathDelim;
    return path;
}

std::string HomeDir() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

// An absolute path from an XDG variable, else home followed by fallback.
std::string XdgDir(const char* variable, const char* fallback) {
    if (const char* value = std::getenv(variable); value && value[0] == '/') return WithDelim(value);
    return WithDelim(WithDelim(HomeDir()) + fallback);
}

// A folder from user-dirs.dirs (XDG_DOCUMENTS_DIR="$HOME/Documents"), else home/fallback.
std::string UserDir(const char* key, const char* fallback) {
    std::ifstream file(XdgDir("XDG_CONFIG_HOME", ".config") + "user-dirs.dirs");
    std::string line;
    const std::string prefix = std::string(key) + "=\"";
    while (std::getline(file, line)) {
        if (line.rfind(prefix, 0) != 0) continue;
        const auto end = line.rfind('"');
        if (end == std::string::npos || end < prefix.size()) break;
        std::string value = line.substr(prefix.size(), end - prefix.size());
        if (value.rfind("$HOME", 0) == 0) value = HomeDir() + value.substr(5);
        if (!value.empty() && value[0] == '/') return WithDelim(value);
        break;
    }
    return WithDelim(WithDelim(HomeDir()) + fallback);
}

} // namespace

std::string GetLocalAppDataDir() {
    return XdgDir("XDG_DATA_HOME", ".local/share");
}
std::string GetRoamingAppDataDir() {
    return XdgDir("XDG_CONFIG_HOME", ".config");
}
std::string GetDocumentsDir() {
    return UserDir("XDG_DOCUMENTS_DIR", "Documents");
}
std::string GetDesktopDir() {
    return UserDir("XDG_DESKTOP_DIR", "Desktop");
}

std::string GetTempDir() {
    if (const char* tmp = std::getenv("TMPDIR"); tmp && tmp[0] == '/') return WithDelim(tmp);
    return "/tmp/";
}

} // namespace Platform
