// The start-up messages in six languages and the dialog that shows them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace Corvane::Runtime {

using TMessageTable = std::array<const char*, 10>;

extern const TMessageTable DefaultMessages;
extern const std::array<TMessageTable, 5> TranslatedMessages; // es, it, de, fr, zh

// The lower-case ISO 639 language of the user's locale ("de" for Swiss German), empty if unknown.
std::string GetUserLanguageCode();
// Text messageIndex in the user's language, or English. Index 10 or more throws
// std::out_of_range("MessageIndex is out of range!").
std::string GetLocalizedMessage(int messageIndex);
// For a given language code; GetLocalizedMessage asks the locale afresh and calls this.
std::string GetLocalizedMessageFor(const std::string& languageCode, int messageIndex);

// A modal message dialog; button i (in standard order) gets buttonCaptions[i]. Returns the modal
// result of the button that closed it; Escape and the close box give Cancel (2).
int CustomMessageDlg(const std::string& msg, Platform::TDialogKind dlgType,
                     const std::vector<Platform::TDialogButton>& buttons,
                     const std::vector<std::string>& buttonCaptions, const std::string& caption);

} // namespace Corvane::Runtime
