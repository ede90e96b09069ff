// Running a program with administrator rights and waiting for it, the user interface staying alive.
#pragma once

#include <string>
#include <vector>

#include "platform/Spawn.h"

namespace Platform {

// Starts file with the arguments with administrator rights, which the system asks the user for,
// and waits for it as RunProcessAndWait does. NotStarted also when the user declines.
TChildResult RunElevatedAndWait(const std::string& file, const std::vector<std::string>& args, int& exitCode);

} // namespace Platform
