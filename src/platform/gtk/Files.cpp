// File operations on Linux.
#include "platform/Files.h"

#include <cerrno>
#include <unistd.h>

namespace Platform {

bool MoveFileNoReplace(const std::string& from, const std::string& to, int& error) {
    // A hard link fails with EEXIST instead of replacing, which rename would do.
    if (link(from.c_str(), to.c_str()) != 0) {
        error = errno;
        return false;
    }
    unlink(from.c_str());
    error = 0;
    return true;
}

} // namespace Platform
