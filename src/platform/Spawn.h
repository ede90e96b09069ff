// Starting programs from an argument list, with no shell between, and waiting for them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace Platform {

// Runs args[0] (looked up on the PATH when it has no separator) with args[1..], without a terminal
// and without any of this process's files: standard input, output and error are the null device.
// Waits for it without limit, the main loop standing still, and answers its exit code, or 128 + the
// number of the signal that ended it. Nothing when it could not be started.
std::optional<int> RunHiddenAndWait(const std::vector<std::string>& args);

// Starts args as above in a process group of its own, sharing this process's standard streams.
// With wait, returns only after it has ended. Whether it started.
bool StartInNewProcessGroup(const std::vector<std::string>& args, bool wait);

} // namespace Platform
