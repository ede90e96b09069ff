// Running a command line in the system's command interpreter and collecting what it writes.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace Platform {

// Runs commandLine in the command interpreter with the current folder workingDir (empty: the
// caller's), standard input inherited, standard output and error into one pipe so that their texts
// interleave in the order written. onOutput receives the bytes in pieces as they arrive, until every
// holder of the pipe has closed it; the call returns once the interpreter has ended too.
// showWindow runs the command in a terminal window of the desktop, still collecting its output;
// without a display or a terminal program it runs hidden. False when the command could not be
// started (LastErrorCode tells why); onOutput is then never called.
bool RunCommandCapture(const std::string& commandLine, const std::string& workingDir, bool showWindow,
                       const std::function<void(std::string_view)>& onOutput);

} // namespace Platform
