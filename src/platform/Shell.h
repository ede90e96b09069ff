// The desktop shell: starting programs and opening documents, folders and addresses.
#pragma once

#include <string>
#include <vector>

namespace Platform {

// Starts an executable file with the arguments, detached, or, for anything else (a document, a
// folder, an address), opens it with the desktop's default application. False when neither worked;
// LastErrorCode then tells why.
bool ShellOpen(const std::string& file, const std::vector<std::string>& args);

} // namespace Platform
