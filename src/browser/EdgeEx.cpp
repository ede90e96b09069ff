// The browser control's unit: the loader library's path.
//
// The browser needs every floating-point exception masked. The C and C++ runtimes start processes
// that way on every platform we build for, so the unit has nothing to set at initialization.
#include "browser/EdgeEx.h"

namespace Corvane::Browser {

std::string EdgeLoaderDllPath;

} // namespace Corvane::Browser
