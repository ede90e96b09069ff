// Starting programs from an argument list, with no shell between, and waiting for them, with or
// without the user interface staying alive.
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

enum class TChildResult {
    NotStarted,  // the program could not be started
    Exited,      // it ended; the exit code is set
    Interrupted, // this process was told to terminate before the program ended
};

// Starts argv[0] with the arguments argv[1...] (argv[0] is looked up on PATH when it has no path
// separator), sharing this process's environment and standard streams, and waits for it to end.
// Pending events of the main loop run during the wait without busy polling, so windows keep
// painting and animating. A program ended by a signal gives 128 + the signal number. A request to
// terminate this process (SIGTERM, SIGINT) ends the wait early and leaves the program running.
TChildResult RunProcessAndWait(const std::vector<std::string>& argv, int& exitCode);
// Whether such a wait has ended because this process was told to terminate.
bool TerminationRequested();

} // namespace Platform
