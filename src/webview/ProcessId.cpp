// The process that renders the pages.
#include "webview/ProcessId.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace CrvWebView {

namespace {

struct TProcess {
    long Parent = 0;
    std::string Name;
};

// pid -> parent and command name, from /proc/<pid>/stat ("pid (name) state ppid ...").
std::map<long, TProcess> ReadProcesses() {
    std::map<long, TProcess> processes;
    DIR* proc = opendir("/proc");
    if (!proc) return processes;
    while (const dirent* entry = readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') continue;
        const std::string path = std::string("/proc/") + entry->d_name + "/stat";
        FILE* file = std::fopen(path.c_str(), "r");
        if (!file) continue;
        char buffer[512];
        const size_t length = std::fread(buffer, 1, sizeof buffer - 1, file);
        std::fclose(file);
        buffer[length] = '\0';
        const std::string stat(buffer);
        const size_t open = stat.find('(');
        const size_t close = stat.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close + 4 >= stat.size()) continue;
        TProcess process;
        process.Name = stat.substr(open + 1, close - open - 1);
        process.Parent = std::strtol(stat.c_str() + close + 4, nullptr, 10);
        processes[pid] = process;
    }
    closedir(proc);
    return processes;
}

} // namespace

std::uint32_t FindWebProcessId() {
    const long self = getpid();
    const auto processes = ReadProcesses();
    std::vector<long> found;
    for (const auto& [pid, process] : processes) {
        // The kernel keeps 15 characters of the name: WebKitWebProcess becomes WebKitWebProces.
        if (process.Name.rfind("WebKitWebProces", 0) != 0 || pid == self) continue;
        // A descendant of ours: the sandbox may put its own processes in between.
        long up = process.Parent;
        for (int depth = 0; depth < 8 && up > 1 && up != self; ++depth) {
            const auto it = processes.find(up);
            up = it == processes.end() ? 0 : it->second.Parent;
        }
        if (up == self) found.push_back(pid);
    }
    return found.size() == 1 ? static_cast<std::uint32_t>(found.front()) : 0;
}

} // namespace CrvWebView
