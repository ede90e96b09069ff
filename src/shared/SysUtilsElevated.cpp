// Running a program with administrator rights and waiting for it.
#include "shared/SysUtils.h"

#include "platform/Elevation.h"
#include "shared/CommandLineText.h"

namespace Corvane::Shared {

namespace {

// What the wait gives back when it ended because this process is terminating.
constexpr std::uint32_t kStillActive = 259;

} // namespace

std::uint32_t TSysUtils::ShellExecAsAdminAndWait(void* /*AHandle*/, const std::string& filePath,
                                                 const std::string& params) {
    int exitCode = 0;
    switch (Platform::RunElevatedAndWait(filePath, SplitCommandLineText(params), exitCode)) {
    case Platform::TChildResult::Exited:
        return static_cast<std::uint32_t>(exitCode);
    case Platform::TChildResult::Interrupted:
        return kStillActive;
    case Platform::TChildResult::NotStarted:
        break;
    }
    return 0;
}

} // namespace Corvane::Shared
