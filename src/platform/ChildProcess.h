// Running another program and waiting for it while the user interface stays alive.
#pragma once

#include <string>
#include <vector>

namespace Platform {

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
