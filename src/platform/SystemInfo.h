// Facts about the machine and the user, and the system's program folders.
#pragma once

#include <string>

namespace Platform {

// The machine's name on the network; empty when it cannot be read.
std::string ComputerName();
// The login name of the user the process runs as; empty when it cannot be read.
std::string UserName();
// Where add-on programs are installed, one folder each. Ends with the path separator.
std::string ProgramsDir();
// Where the system lists the programs that came with it. Ends with the path separator.
std::string SystemAppsDir();

} // namespace Platform
