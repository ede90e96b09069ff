// The table of data resources compiled into the program, ended by an entry without a name.
#pragma once

#include <cstddef>

namespace Platform {

struct TEmbeddedResource {
    const char* Name;
    const unsigned char* Data;
    std::size_t Size;
};

extern const TEmbeddedResource kEmbeddedResources[];

} // namespace Platform
