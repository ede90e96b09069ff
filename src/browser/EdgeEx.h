// The browser control's unit. It loads the browser loader library from EdgeLoaderDllPath, which
// start-up sets before any browser code runs.
#pragma once

#include <string>

namespace Corvane::Shared {

extern std::string EdgeLoaderDllPath;

} // namespace Corvane::Shared
