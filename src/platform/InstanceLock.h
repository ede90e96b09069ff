// A lock that every process of the user sees under one name, released by the system when its
// holder ends.
#pragma once

#include <string>

namespace Platform {

enum class TLockResult { Acquired, AlreadyExists, Failed };

// Creates the lock named name and holds it until the process ends. The handle is never given back.
TLockResult CreateNamedLock(const std::string& name);

} // namespace Platform
