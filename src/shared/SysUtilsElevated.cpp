// Running a program with administrator rights and waiting for it.
#include "shared/SysUtils.h"

namespace Corvane::Shared {

std::uint32_t TSysUtils::ShellExecAsAdminAndWait(void*, const std::string&, const std::string&) {
    return 0;
}

} // namespace Corvane::Shared
