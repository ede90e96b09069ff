// File operations whose meaning differs between systems.
#pragma once

#include <string>

namespace Platform {

// Moves the file at from to to, unless to already exists. False (and from left in place) when to
// exists or the move fails; error receives the system's error code.
bool MoveFileNoReplace(const std::string& from, const std::string& to, int& error);

} // namespace Platform
