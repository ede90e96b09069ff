// Whether a browser runtime is there to run the app.
#pragma once

#include <string>

namespace Corvane::Browser {

// Whether the loader library at EdgeLoaderDllPath reports a non-empty browser version.
bool CheckEdgeIsInstalled(const std::string& EdgeLoaderDllPath);

} // namespace Corvane::Browser
