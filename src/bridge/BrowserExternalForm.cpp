// The hidden form of the bridge, wired as designed: the menu draws from the image list, the list
// from the collection.
#include "bridge/BrowserExternalForm.h"

namespace Corvane::Bridge {

TBrowserExternalForm::TBrowserExternalForm() {
    SetCaption("[Not visible form: intended to be used to place DPI aware controls]");
    MainMenuVirtualImageList.ImageCollection = &MainMenuImageCollection;
    MainMenuVirtualImageList.Width = 16;
    MainMenuVirtualImageList.Height = 16;
    MainMenuVirtualImageList.DisabledGrayscale = true;
    MainMenu.SetImages(&MainMenuVirtualImageList);
}

TBrowserExternalForm::~TBrowserExternalForm() = default;

} // namespace Corvane::Bridge
