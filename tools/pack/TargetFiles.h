// Which runtime, browser loader and runtime installer go into a package, for the system it is for.
#pragma once

#include <string>

#include "DataFolders.h"
#include "PackOptions.h"

namespace Corvane::Pack {

struct TTargetFiles {
    TTarget Target = kHostTarget;
    std::string Runtime;
    bool WindowsRuntime = false; // the runtime is a PE image
    std::string Loader;          // empty: none
    std::string Installer;       // empty: none
};

// The files given on the command line, else the target's own from the data folder. Throws
// EUsageError for a target that contradicts the runtime, and for a Windows target without a
// WebView2 loader.
TTargetFiles ChooseTargetFiles(const TPackOptions& options, const TDataFolders& data);

} // namespace Corvane::Pack
