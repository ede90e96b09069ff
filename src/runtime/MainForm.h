// The application's window: it holds the browser form, sizes and styles itself from the settings,
// chooses the start page, closes through the page, and can follow the page's title.
#pragma once

#include <memory>
#include <string>

#include "bridge/BrowserExternalModule.h"
#include "browser/BrowserForm.h"
#include "runtime/Win11Forms.h"

namespace Corvane::Runtime {

class TMainForm : public Veltrano::Win11Forms::TForm {
public:
    TMainForm();
    ~TMainForm() override;

    Browser::TBrowserForm& BrowserForm() { return *FBrowserForm; }
    Bridge::TBrowserExternalModule& BrowserExternalModule() { return *FBrowserExternalModule; }
    // The page asked to close the window (app.close): the next close request goes through.
    void BrowserExternalModuleAppCloseRequest();

private:
    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void FormClose();
    void EdgeBrowserDocumentTitleChanged(const std::string& documentTitle);
    void ApplyWindowSettings();
    std::string StartPage() const;

    bool FCanClose = false;
    bool FClosed = false;
    std::unique_ptr<Browser::TBrowserForm> FBrowserForm;
    std::unique_ptr<Bridge::TBrowserExternalModule> FBrowserExternalModule;
};

} // namespace Corvane::Runtime
