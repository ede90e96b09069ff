// The error dialogs of start-up.
#include "runtime/StartupMessages.h"

#include "runtime/LocalizedMessages.h"

namespace Corvane::Runtime {

void ShowStartupError(int MessageIndex) {
    CustomMessageDlg(GetLocalizedMessage(MessageIndex), Platform::TDialogKind::Error,
                     {Platform::TDialogButton::Yes}, {GetLocalizedMessage(3)}, GetLocalizedMessage(1));
}

} // namespace Corvane::Runtime
