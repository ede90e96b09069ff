// The browser form: the borderless panel that holds the browser control inside the main window.
// It sets the browser up when it is ready, serves the application's files from the package archive
// (falling back to files on disk), hands new windows on local pages to a new instance of the program,
// grants permission requests and passes the page's messages on.
#pragma once

#include <memory>
#include <string>

#include "browser/EdgeEx.h"
#include "platform/Control.h"

namespace Corvane::Shared {
class TZipReader;
}

namespace Corvane::Browser {

class TBrowserForm : public Platform::TWinControl {
public:
    TBrowserForm();
    ~TBrowserForm() override;

    Platform::TProgressBar ProgressBar;

    Shared::TZipReader* ExeZip = nullptr; // not owned; null: files on disk only
    bool IsRuntime = false;
    std::string RuntimeAppID;
    bool WithExternal = false;
    std::string AppDirName;
    std::string AppDirPath; // the executable's folder, with a trailing separator
    bool AllowDebug = false;
    std::string WebviewJavascript;
    bool AllowContextMenu = false;
    std::string StartPageURL;
    bool HandleRequests = false;

    TEdgeBrowser& EdgeBrowser() { return *FEdgeBrowser; }

    // Every web message of the page that the form does not take itself. The form alone handles the
    // browser control's OnWebMessageReceived; the main window points this at the bridge.
    TEdgeEvent<TWebMessageReceivedEventArgs& /*Args*/> OnWebMessage;

    // Builds the script that runs first in every document and registers it with the web view.
    void AddDocumentScripts();

private:
    void EdgeBrowserCreateWebViewCompleted(WebView2::HRESULT result);
    void EdgeBrowserWebResourceRequested(TWebResourceRequestedEventArgs& args);
    void EdgeBrowserNewWindowRequested(TNewWindowRequestedEventArgs& args);
    void EdgeBrowserPermissionRequested(TPermissionRequestedEventArgs& args);
    void EdgeBrowserNavigationCompleted();
    void EdgeBrowserWebMessageReceived(TCustomEdgeBrowser* sender, TWebMessageReceivedEventArgs& args);

    std::unique_ptr<TEdgeBrowser> FEdgeBrowser;
};

// The bridge script that pages reach native functions through (the program resource
// CRV_EXTERNAL_JAVASCRIPT, UTF-8).
std::string BrowserExternalScript();
// The script that runs first in every document: a carriage return before every piece.
std::string BuildDocumentScript(bool withExternal, bool isRuntime, const std::string& webviewJavascript);

} // namespace Corvane::Browser
