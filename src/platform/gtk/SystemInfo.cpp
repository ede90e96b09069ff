// Machine and user facts on Linux, and where programs live there.
#include "platform/SystemInfo.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <vector>

namespace Platform {

std::string ComputerName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string UserName() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_name)
        return {};
    return found->pw_name;
}

std::string ProgramsDir() {
    // Add-on packages install into a folder of their own below /opt; /usr/bin is one flat folder
    // shared by every program.
    return "/opt/";
}

std::string SystemAppsDir() {
    return "/usr/share/applications/";
}

} // namespace Platform
