// The dialogs of start-up.
#include "runtime/StartupMessages.h"

#include "runtime/LocalizedMessages.h"

namespace Corvane::Runtime {

void ShowStartupError(int messageIndex) {
    CustomMessageDlg(GetLocalizedMessage(messageIndex), Platform::TDialogKind::Error,
                     {Platform::TDialogButton::Yes}, {GetLocalizedMessage(3)}, GetLocalizedMessage(1));
}

int ShowStartupConfirmation(int messageIndex) {
    return CustomMessageDlg(GetLocalizedMessage(messageIndex), Platform::TDialogKind::Confirmation,
                            {Platform::TDialogButton::Yes, Platform::TDialogButton::Cancel},
                            {GetLocalizedMessage(3), GetLocalizedMessage(4)}, GetLocalizedMessage(2));
}

} // namespace Corvane::Runtime
