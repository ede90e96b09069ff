// The start password prompt: a small modal window that closes by itself once the typed text is the
// password.
#pragma once

#include <string>

#include "platform/Edit.h"
#include "platform/ImageList.h"
#include "runtime/Win11Forms.h"

namespace Corvane::Runtime {

class TRequirePasswordForm : public Veltrano::Win11Forms::TForm {
public:
    TRequirePasswordForm();

    const std::string& Password() const { return FPassword; }
    void SetPassword(const std::string& value) { FPassword = value; }

    // Declared in this order so that the edit lets go of the list, and the list of the collection,
    // before they go.
    Platform::TSizedImageCollection ImageCollection;
    Platform::TSizedImageList VirtualImageList;
    Platform::TEdit PasswordEdit;

    void FormCreate();
    void PasswordEditKeyUp();

private:
    std::string FPassword;
};

// Shows the prompt captioned caption until the user types password (true) or closes it (false).
// False as well when no window can be shown.
bool AskStartPassword(const std::string& caption, const std::string& password);

} // namespace Corvane::Runtime
