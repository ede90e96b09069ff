// The main window's creation, window keys, start page, close handshake and dynamic title.
#include "runtime/MainForm.h"

#include <vector>

#include "platform/Application.h"
#include "runtime/CommandLine.h"
#include "runtime/ExeZipLoader.h"
#include "shared/PackageFormat.h"
#include "shared/WindowBorder.h"
#include "shared/ZipReader.h"

namespace Corvane::Runtime {

using namespace Corvane::Shared;
using namespace Corvane::Browser;
using namespace Corvane::Bridge;

namespace {

int AppInt(const char* key, int fallback) {
    return ProjectINI->ReadInteger("App", key, fallback);
}

bool AppBool(const char* key) {
    return ProjectINI->ReadBool("App", key, false);
}

} // namespace

TMainForm::TMainForm() {
    FormCreate();
}

TMainForm::~TMainForm() {
    FBrowserExternalModule.reset();
    FBrowserForm.reset();
}

void TMainForm::FormCreate() {
    FCanClose = false;
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnClose = [this] { FormClose(); };

    FBrowserExternalModule = std::make_unique<Bridge::TBrowserExternalModule>();
    FBrowserExternalModule->ExeZip = ExeZip;

    FBrowserForm = std::make_unique<Browser::TBrowserForm>();
    FBrowserForm->SetParent(this);
    FBrowserForm->SetAlign(Platform::TAlign::Client);
    FBrowserForm->SetVisible(true);

    auto& browser = *FBrowserForm;
    browser.ExeZip = ExeZip;
    browser.IsRuntime = true;
    browser.AppDirName = AppDirName;
    browser.HandleRequests = true;
    browser.RuntimeAppID = RuntimeAppID;
    browser.WithExternal = true;
    browser.AllowDebug = AppBool("AllowDebug");
    browser.AllowContextMenu = AppBool("AllowContextMenu");
    auto& bridge = *FBrowserExternalModule;
    // Through the field: a message that arrives while the browser closes finds no bridge.
    browser.OnWebMessage = [this](Browser::TCustomEdgeBrowser* sender,
                                  Browser::TWebMessageReceivedEventArgs& args) {
        if (FBrowserExternalModule) FBrowserExternalModule->EdgeBrowserWebMessageReceived(sender, args);
    };
    browser.EdgeBrowser().OnDocumentTitleChanged = [this](Browser::TCustomEdgeBrowser*,
                                                          const std::string& title) {
        EdgeBrowserDocumentTitleChanged(title);
    };
    bridge.MainForm = this;
    bridge.BrowserForm = FBrowserForm.get();
    bridge.ProjectINI = ProjectINI;
    bridge.OnAppCloseRequest = [this](Bridge::TBrowserExternalModule*) {
        BrowserExternalModuleAppCloseRequest();
    };

    std::vector<std::uint8_t> script;
    if (ExeZip && ExeZip->ExtractToStream(Shared::kScriptEntry, script))
        browser.WebviewJavascript.assign(script.begin(), script.end());

    SetCaption(AppName);
    Platform::SetApplicationTitle(AppName);
    ApplyWindowSettings();
    browser.StartPageURL = StartPage();
}

void TMainForm::ApplyWindowSettings() {
    SetTop(AppInt("Top", 50));
    SetLeft(AppInt("Left", 50));
    SetWidth(AppInt("Width", 800));
    SetHeight(AppInt("Height", 600));
    SetConstraints(
        {AppInt("MaxWidth", 0), AppInt("MaxHeight", 0), AppInt("MinWidth", 0), AppInt("MinHeight", 0)});
    SetPosition(AppInt("WindowPosition", 0) == 0 ? Platform::TPosition::ScreenCenter
                                                 : Platform::TPosition::DefaultPos);
    if (AppInt("WindowStyle", 0) == 1) {
        SetBorderStyle(Platform::TBorderStyle::None);
        SetWindowState(Platform::TWindowState::Maximized);
        FBrowserExternalModule->InFullscreen = true;
    } else {
        SetBorderStyle(BorderStyleFromSetting(AppInt("WindowBorder", 2)));
        const int state = AppInt("WindowState", 0);
        if (state == 0) SetWindowState(Platform::TWindowState::Normal);
        if (state == 1) SetWindowState(Platform::TWindowState::Maximized);
    }
    if (AppInt("WindowOrder", 0) == 1) SetStayOnTop(true);
}

std::string TMainForm::StartPage() const {
    const auto& args = TCommandLine::Args();
    if (TCommandLine::IsHandOver(RuntimeAppID)) return args[1];
    return "file:///" + AppIndexHtml;
}

void TMainForm::FormCloseQuery(bool& canClose) {
    canClose = FCanClose;
    if (FBrowserForm) FBrowserForm->EdgeBrowser().ExecuteScript("crv.events.onCloseQuery();");
}

void TMainForm::BrowserExternalModuleAppCloseRequest() {
    FCanClose = true;
    Close();
}

void TMainForm::FormClose() {
    if (FClosed) return;
    FClosed = true;
    // The close may come from a page call inside the browser's message event: the bridge and the
    // browser are freed once that event has returned.
    Platform::QueueOnUiThread([this] {
        FBrowserExternalModule.reset();
        FBrowserForm.reset();
        // As the main window, its closing ends the application.
        Platform::QuitMainLoop();
    });
}

void TMainForm::EdgeBrowserDocumentTitleChanged(const std::string& documentTitle) {
    if (AppBool("DynamicAppTitle")) SetCaption(documentTitle);
}

} // namespace Corvane::Runtime
