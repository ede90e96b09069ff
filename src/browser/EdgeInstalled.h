// Whether a browser runtime is there to run the app.
#pragma once

#include <string>

namespace Corvane::Browser {

// Whether the loader library at edgeLoaderDllPath reports a non-empty browser version.
bool CheckEdgeIsInstalled(const std::string& edgeLoaderDllPath);

} // namespace Corvane::Browser
