// Finds crv-pack's data folders relative to crv-pack itself, so a moved install or an unpacked
// system package works as well as the build tree.
#include "DataFolders.h"

#include <system_error>

namespace Corvane::Pack {

namespace fs = std::filesystem;

fs::path OwnPath(const char* argv0) {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) self = fs::absolute(argv0, error);
    return self;
}

TDataFolders FindDataFolders(const fs::path& self) {
    const fs::path own = self.parent_path();
    const fs::path prefix = own.parent_path();
    std::error_code error;
    if (own.filename() == "bin" && fs::is_directory(prefix / "lib" / "crv", error))
        return {prefix / "lib" / "crv", prefix / "share" / "crv" / "types"};
    return {own, own};
}

} // namespace Corvane::Pack
