// The bridge's hidden form: it is never shown and holds the main menu with the pictures it draws.
#pragma once

#include "platform/Form.h"
#include "platform/Menu.h"

namespace Corvane::Bridge {

class TBrowserExternalForm : public Platform::TForm {
public:
    TBrowserExternalForm();
    ~TBrowserExternalForm() override;

    // Declared in reverse order of use, so that the menu goes first and the pictures last.
    Platform::TImageCollection MainMenuImageCollection;
    // Every picture of the collection at 16 x 16, grey for disabled items.
    Platform::TVirtualImageList MainMenuVirtualImageList;
    Platform::TMainMenu MainMenu;
};

} // namespace Corvane::Bridge
