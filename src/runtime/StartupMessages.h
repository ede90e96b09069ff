// The dialogs of start-up. An error: a localized text, titled "Error" in the user's language, with
// one accepting button.
#pragma once

namespace Corvane::Runtime {

void ShowStartupError(int messageIndex);
// The question of start-up: a localized text titled "Confirm" in the user's language, with an
// accepting button (the default) and a cancelling one. The modal result: Cancel (2) from the
// cancelling button, Escape or the close box.
int ShowStartupConfirmation(int messageIndex);

} // namespace Corvane::Runtime
