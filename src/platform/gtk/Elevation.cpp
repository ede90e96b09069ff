// Administrator rights on Linux: pkexec, which asks the desktop's authentication agent for them.
#include "platform/Elevation.h"

namespace Platform {

TChildResult RunElevatedAndWait(const std::string& file, const std::vector<std::string>& args,
                                int& exitCode) {
    std::vector<std::string> argv{"pkexec", file};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcessAndWait(argv, exitCode);
}

} // namespace Platform
