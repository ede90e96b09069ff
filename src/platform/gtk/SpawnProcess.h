// Starting a child process: the one way the backend starts programs it waits for itself.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace Platform {

struct TSpawnOptions {
    std::string WorkingDir;   // empty: this process's current folder
    int Output = -1;          // when not negative, becomes both standard output and standard error
    bool NullStreams = false; // standard input, output and error are the null device
    bool NewProcessGroup = false;
};

// Starts args[0] (looked up on the PATH when it has no separator) with args[1..]. The child gets the
// default signal handling, no blocked signals and none of this process's files beyond the standard
// streams. Nothing when it could not be started; errno then tells why.
std::optional<pid_t> SpawnProcess(const std::vector<std::string>& args, const TSpawnOptions& options = {});

// The exit code of a wait status: the code, or 128 + the number of the signal that ended it.
int ExitCodeOf(int status);
// Waits for the child without limit; its exit code, 0 when it cannot be waited for.
int WaitForExit(pid_t pid);

} // namespace Platform
