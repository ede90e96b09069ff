// The browser control's unit.
#include "browser/EdgeEx.h"

namespace Corvane::Shared {

std::string EdgeLoaderDllPath;

} // namespace Corvane::Shared
