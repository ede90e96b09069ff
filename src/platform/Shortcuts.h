// Shortcut files: what a link or launcher on the desktop points at.
#pragma once

#include <string>

namespace Platform {

// The target of a shortcut: for a symbolic link the path it names, made absolute against the link's
// folder; for a desktop launcher its address (a link) or the program it starts, looked up on the
// PATH when given by name (kept as written when not found there). Empty when path is no shortcut or
// names nothing.
std::string ShortcutTarget(const std::string& path);

} // namespace Platform
