// The desktop's picture editor.
#pragma once

#include <string>

namespace Platform {

// Opens the file in a painting program that the desktop has registered for its type (or, for a
// file of unknown type, for PNG pictures); viewers do not count. False when there is none or it
// could not be started.
bool OpenInImageEditor(const std::string& file);

} // namespace Platform
