// The start password prompt: a small modal window that closes by itself once the typed text is the
// password.
#pragma once

#include <string>

namespace Corvane::Runtime {

// Shows the prompt captioned Caption until the user types Password (true) or closes it (false).
bool AskStartPassword(const std::string& Caption, const std::string& Password);

} // namespace Corvane::Runtime
