// The error dialogs of start-up: a localized text, titled "Error" in the user's language, with one
// accepting button.
#pragma once

namespace Corvane::Runtime {

void ShowStartupError(int MessageIndex);

} // namespace Corvane::Runtime
