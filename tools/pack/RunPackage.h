// Starting a package right after packing it, for the edit-and-look loop of --run.
#pragma once

#include <string>

namespace Corvane::Pack {

// A new folder under the system's temporary folder, removed with all it holds.
class TScratchFolder {
public:
    explicit TScratchFolder(const std::string& tag);
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

// Starts program without arguments and waits for it. Returns its exit code, or 128 + the signal
// that ended it. Meanwhile SIGINT, which a terminal sends to both, is left to the program, and
// SIGTERM and SIGHUP are passed on to it. Throws when it cannot be started.
int RunAndWait(const std::string& program);

} // namespace Corvane::Pack
