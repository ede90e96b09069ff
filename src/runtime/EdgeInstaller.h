// What start-up does when the browser runtime is missing.
#pragma once

namespace Corvane::Runtime {

// Offers to install the runtime with the package's installer. Never returns: the process ends, after
// telling the user why or after starting the program afresh. An installer file that cannot be
// written throws.
[[noreturn]] void RunEdgeInstallation();

} // namespace Corvane::Runtime
