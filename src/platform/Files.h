// File operations whose meaning differs between systems.
#pragma once

#include <string>
#include <string_view>

namespace Platform {

// Moves the file at from to to, unless to already exists. False (and from left in place) when to
// exists or the move fails; error receives the system's error code.
bool MoveFileNoReplace(const std::string& from, const std::string& to, int& error);

// Makes the file at path hold exactly bytes, creating it or replacing what it held. The old content
// stays whole until the new one is complete: the bytes go to a new file beside it that then takes
// its place, keeping its permissions (a link is followed to the file it names). Where no new file
// can be made beside it, the file is rewritten in place. False on failure, error set to the
// system's code.
bool WriteFileReplacing(const std::string& path, std::string_view bytes, int& error);

// Copies the file at from to to, replacing a file already there. False on failure.
bool CopyFileReplacing(const std::string& from, const std::string& to);

} // namespace Platform
