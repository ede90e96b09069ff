// The browser runtime is missing: say so and stop. (No installer is offered yet.)
#include "runtime/EdgeInstaller.h"

#include "platform/Process.h"
#include "runtime/StartupMessages.h"

namespace Corvane::Runtime {

void RunEdgeInstallation() {
    ShowStartupError(6);
    Platform::ExitProcess(0);
}

} // namespace Corvane::Runtime
