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
// Text MessageIndex in the user's language, or English. Index 10 or more throws
// std::out_of_range("MessageIndex is out of range!").
std::string GetLocalizedMessage(int MessageIndex);
// For a given language code; GetLocalizedMessage asks the locale afresh and calls this.
std::string GetLocalizedMessageFor(const std::string& languageCode, int MessageIndex);

// A modal message dialog; button i (in standard order) gets ButtonCaptions[i]. Returns the modal
// result of the button that closed it; Escape and the close box give Cancel (2).
int CustomMessageDlg(const std::string& Msg, Platform::TDialogKind DlgType,
                     const std::vector<Platform::TDialogButton>& Buttons,
                     const std::vector<std::string>& ButtonCaptions, const std::string& Caption);

} // namespace Corvane::Runtime
