// The start password prompt.
#include "runtime/RequirePasswordForm.h"

namespace Corvane::Runtime {

bool AskStartPassword(const std::string&, const std::string&) {
    return false;
}

} // namespace Corvane::Runtime
