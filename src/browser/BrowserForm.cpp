// The browser form: browser set-up, the document script, file serving, new windows, permissions.
#include "browser/BrowserForm.h"

#include "abi/CaseMap.h"
#include "abi/ComPtr.h"
#include "browser/EdgeText.h"
#include "browser/FileServing.h"
#include "platform/Form.h"
#include "platform/Process.h"
#include "platform/Resources.h"
#include "platform/Streams.h"
#include "shared/SysUtils.h"

namespace Corvane::Browser {

using namespace Corvane::Abi;
using namespace Corvane::Shared;

using namespace WebView2;

namespace {

// Blank after trimming white space and control characters.
bool IsBlank(const std::string& text) {
    for (unsigned char c : text)
        if (c > ' ') return false;
    return true;
}

// The plain-text message that the click listener of the document script posts.
constexpr const char* kClickMessage = "crv-webbrowser-clicked";

bool IsClickMessage(TWebMessageReceivedEventArgs& args) {
    LPWSTR text = nullptr;
    const bool isString = args.ArgsInterface()->TryGetWebMessageAsString(&text) >= 0;
    return TakeBrowserString(text) == kClickMessage && isString;
}

} // namespace

std::string BrowserExternalScript() {
    return std::string(Platform::ProgramResource("CRV_EXTERNAL_JAVASCRIPT"));
}

TBrowserForm::TBrowserForm() : FEdgeBrowser(std::make_unique<TEdgeBrowser>()) {
    AppDirPath = Platform::GetExecutableFolder();

    ProgressBar.SetHeight(4);
    ProgressBar.SetAlign(Platform::TAlign::Bottom);
    ProgressBar.SetParent(this);

    auto& edge = *FEdgeBrowser;
    edge.OnProcessFailed = [](TCustomEdgeBrowser*, COREWEBVIEW2_PROCESS_FAILED_KIND) {};
    edge.OnNewWindowRequested = [this](TCustomEdgeBrowser*, TNewWindowRequestedEventArgs& args) {
        EdgeBrowserNewWindowRequested(args);
    };
    edge.OnCreateWebViewCompleted = [this](TCustomEdgeBrowser*, HRESULT result) {
        EdgeBrowserCreateWebViewCompleted(result);
    };
    edge.OnWebResourceRequested = [this](TCustomEdgeBrowser*, TWebResourceRequestedEventArgs& args) {
        EdgeBrowserWebResourceRequested(args);
    };
    edge.OnNavigationCompleted = [this](TCustomEdgeBrowser*, bool, COREWEBVIEW2_WEB_ERROR_STATUS) {
        EdgeBrowserNavigationCompleted();
    };
    edge.OnWebMessageReceived = [this](TCustomEdgeBrowser* sender, TWebMessageReceivedEventArgs& args) {
        EdgeBrowserWebMessageReceived(sender, args);
    };
    edge.OnPermissionRequested = [this](TCustomEdgeBrowser*, TPermissionRequestedEventArgs& args) {
        EdgeBrowserPermissionRequested(args);
    };
    // Placing the control starts browser creation; it completes from the message loop, after the
    // owner has set the properties.
    edge.SetAlign(Platform::TAlign::Client);
    edge.SetParent(this);
}

TBrowserForm::~TBrowserForm() {
    FEdgeBrowser.reset();
}

std::string BuildDocumentScript(bool withExternal, bool isRuntime, const std::string& webviewJavascript) {
    std::string script;
    const auto piece = [&script](const std::string& text) { script += "\r" + text; };
    if (withExternal) piece(BrowserExternalScript());
    // Files dropped on the page must not replace it.
    piece("window.addEventListener(\"dragover\", function(e){e.preventDefault();},false);");
    piece("window.addEventListener(\"drop\", function(e){e.preventDefault();}, false);");
    if (isRuntime && !IsBlank(webviewJavascript)) piece(webviewJavascript);
    if (!isRuntime)
        piece("window.addEventListener(\"click\", function () "
              "{window.chrome.webview.postMessage(\"" +
              std::string(kClickMessage) + "\");});");
    return script;
}

void TBrowserForm::AddDocumentScripts() {
    auto* webView = FEdgeBrowser->DefaultInterface();
    if (!webView) return;
    webView->AddScriptToExecuteOnDocumentCreated(
        TBrowserText(BuildDocumentScript(WithExternal, IsRuntime, WebviewJavascript)), nullptr);
}

void TBrowserForm::EdgeBrowserCreateWebViewCompleted(HRESULT result) {
    if (result < 0) return;
    AddDocumentScripts();
    if (auto* settings = FEdgeBrowser->SettingsInterface()) {
        settings->put_IsScriptEnabled(TRUE);
        settings->put_IsStatusBarEnabled(FALSE);
        settings->put_IsZoomControlEnabled(FALSE);
        settings->put_IsWebMessageEnabled(TRUE);
        settings->put_IsBuiltInErrorPageEnabled(TRUE);
        settings->put_AreDevToolsEnabled(AllowDebug);
        settings->put_AreDefaultContextMenusEnabled(AllowContextMenu);
    }
    FEdgeBrowser->AddWebResourceRequestedFilter("*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
    if (!StartPageURL.empty()) FEdgeBrowser->Navigate(StartPageURL);
}

void TBrowserForm::EdgeBrowserWebResourceRequested(TWebResourceRequestedEventArgs& args) {
    if (!HandleRequests) return;
    auto* native = args.ArgsInterface();
    ComPtr<ICoreWebView2WebResourceRequest> request;
    if (native->get_Request(request.Put()) < 0 || !request) return;
    LPWSTR uriText = nullptr;
    if (request->get_Uri(&uriText) < 0) return;
    const std::string uri = TakeBrowserString(uriText);

    auto served = ServeFileRequest(uri, {ExeZip, AppDirName, AppDirPath});
    auto* environment = FEdgeBrowser->EnvironmentInterface();
    if (!served || !environment) return;
    // The content moves into the stream: no copy on the way to the browser.
    auto stream = Platform::CreateMemoryStream(std::move(served->Content));
    ComPtr<ICoreWebView2WebResourceResponse> response;
    if (environment->CreateWebResourceResponse(stream.Get(), 200, TBrowserText("OK"),
                                               TBrowserText(served->Headers()), response.Put()) >= 0)
        native->put_Response(response.Get());
}

void TBrowserForm::EdgeBrowserNewWindowRequested(TNewWindowRequestedEventArgs& args) {
    if (!IsRuntime) return;
    auto* native = args.ArgsInterface();
    LPWSTR uriText = nullptr;
    if (native->get_Uri(&uriText) < 0) return;
    const std::string uri = TakeBrowserString(uriText);
    if (!StartsWithNoCase(uri, "file:")) return; // the browser opens its own window
    native->put_Handled(TRUE);
    // Only the application's own pages may start the program on a local page; a web page shown in
    // the window must not pick a local file for it.
    if (!StartsWithNoCase(FEdgeBrowser->LocationURL(), "file:")) return;
    TSysUtils::ShellExec(Platform::GetExecutablePath(), "\"" + RuntimeAppID + "\" \"" + uri + "\"");
}

void TBrowserForm::EdgeBrowserPermissionRequested(TPermissionRequestedEventArgs& args) {
    args.ArgsInterface()->put_State(COREWEBVIEW2_PERMISSION_STATE_ALLOW);
}

void TBrowserForm::EdgeBrowserNavigationCompleted() {
    ProgressBar.SetVisible(false);
}

void TBrowserForm::EdgeBrowserWebMessageReceived(TCustomEdgeBrowser* sender,
                                                 TWebMessageReceivedEventArgs& args) {
    // Outside the runtime (not in runtime mode, or without a package) a click in the page gives the
    // keyboard focus back to the host window and then to the browser. In the runtime the click
    // message is nothing special: it goes on like any other.
    if ((!IsRuntime || !ExeZip) && IsClickMessage(args)) {
        if (auto* host = ParentForm()) host->ClientControl().SetFocus();
        FEdgeBrowser->SetFocus();
        return;
    }
    if (OnWebMessage) OnWebMessage(sender, args);
}

} // namespace Corvane::Browser
