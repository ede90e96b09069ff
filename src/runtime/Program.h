// The program entry's work after start-up: the single-instance rule, the main window, the loop.
#pragma once

#include <string>
#include <vector>

namespace Corvane::Runtime {

// Runs the whole program and returns its exit code.
int RunProgram(std::vector<std::string> args);

} // namespace Corvane::Runtime
