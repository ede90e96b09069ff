// The start password prompt: one masked edit box, no buttons; the text is compared on every key
// release.
#include "runtime/RequirePasswordForm.h"

#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Resources.h"

namespace Corvane::Runtime {

TRequirePasswordForm::TRequirePasswordForm() {
    SetCaption("[App Name]");
    SetBorderStyle(Platform::TBorderStyle::Dialog);
    SetBorderIcons(false, false);
    // No main window exists yet to centre on.
    SetPosition(Platform::TPosition::ScreenCenter);
    SetClientSize(308, 71);

    ImageCollection.Add("key", Platform::ProgramResource("CRV_KEY_16"));
    ImageCollection.Add("key", Platform::ProgramResource("CRV_KEY_32"));
    VirtualImageList.SetImageCollection(&ImageCollection);
    VirtualImageList.SetSize(16, 16);
    VirtualImageList.Add("key");

    // The edit is the only control that takes the focus.
    ClientControl().SetTabStop(false);
    PasswordEdit.SetParent(this);
    PasswordEdit.SetBounds(24, 24, 257, 21);
    PasswordEdit.SetFont("Tahoma", 11);
    PasswordEdit.SetPasswordChar(U'*');
    PasswordEdit.SetLeftButtonImage(&VirtualImageList, 0);
    PasswordEdit.OnKeyUp = [this] { PasswordEditKeyUp(); };
    PasswordEdit.SetFocus();

    FormCreate();
}

void TRequirePasswordForm::FormCreate() {
    FPassword.clear();
}

// A wrong text is never reported: the prompt just stays until the text matches or it is closed.
void TRequirePasswordForm::PasswordEditKeyUp() {
    if (PasswordEdit.Text() == FPassword) SetModalResult(Platform::mrOk);
}

bool AskStartPassword(const std::string& caption, const std::string& password) {
    if (!Platform::EnsureUiInitialized()) return false;
    TRequirePasswordForm form;
    form.SetCaption(caption);
    form.SetPassword(password);
    return form.ShowModal() == Platform::mrOk;
}

} // namespace Corvane::Runtime
