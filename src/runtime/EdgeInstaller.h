// What start-up does when the browser runtime is missing.
#pragma once

namespace Corvane::Runtime {

// Never returns: the process ends, after telling the user why.
[[noreturn]] void RunEdgeInstallation();

} // namespace Corvane::Runtime
