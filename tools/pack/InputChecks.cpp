// Checks that crv-pack's inputs exist, are of the right kind and can be read.
#include "InputChecks.h"

#include <cerrno>
#include <stdexcept>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace Corvane::Pack {

void CheckReadable(const std::string& what, const std::string& path, TKind kind) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw std::system_error(errno, std::generic_category(), what + " \"" + path + "\"");
    if (kind == TKind::Folder && !S_ISDIR(info.st_mode))
        throw std::runtime_error(what + " \"" + path + "\" is not a folder");
    if (kind == TKind::File && !S_ISREG(info.st_mode))
        throw std::runtime_error(what + " \"" + path + "\" is not a file");
    if (::access(path.c_str(), kind == TKind::Folder ? R_OK | X_OK : R_OK) != 0)
        throw std::system_error(errno, std::generic_category(), what + " \"" + path + "\"");
}

} // namespace Corvane::Pack
