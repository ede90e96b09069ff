// The main window's creation, window keys, start page, close handshake and dynamic title.
#include "runtime/MainForm.h"

#include <vector>

#include "platform/Application.h"
#include "runtime/CommandLine.h"
#include "runtime/ExeZipLoader.h"
#include "shared/PackageFormat.h"
#include "shared/ZipReader.h"

namespace Corvane::Runtime {

namespace {

int AppInt(const char* key, int fallback) {
    return ProjectINI->ReadInteger("App", key, fallback);
}

bool AppBool(const char* key) {
    return ProjectINI->ReadBool("App", key, false);
}

Platform::TBorderStyle BorderFromSetting(int value) {
    using B = Platform::TBorderStyle;
    switch (value) {
    case 0:
        return B::None;
    case 1:
        return B::Single;
    case 3:
        return B::Dialog;
    case 4:
        return B::ToolWindow;
    case 5:
        return B::SizeToolWin;
    default:
        return B::Sizeable; // 2, and values outside the set
    }
}

} // namespace

TMainForm::TMainForm() {
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
    FCanClose = false;
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnClose = [this] { FormClose(); };

    FBrowserForm = std::make_unique<Shared::TBrowserForm>();
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
    browser.EdgeBrowser().OnDocumentTitleChanged = [this](Shared::TCustomEdgeBrowser*,
                                                          const std::string& title) {
        EdgeBrowserDocumentTitleChanged(title);
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
        InFullscreen = true;
    } else {
        SetBorderStyle(BorderFromSetting(AppInt("WindowBorder", 2)));
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

void TMainForm::FormCloseQuery(bool& CanClose) {
    CanClose = FCanClose;
    if (FBrowserForm) FBrowserForm->EdgeBrowser().ExecuteScript("crv.events.onCloseQuery();");
}

void TMainForm::BrowserExternalModuleAppCloseRequest() {
    FCanClose = true;
    Close();
}

void TMainForm::FormClose() {
    FBrowserForm.reset();
    // As the main window, its closing ends the application.
    Platform::QuitMainLoop();
}

void TMainForm::EdgeBrowserDocumentTitleChanged(const std::string& ADocumentTitle) {
    if (AppBool("DynamicAppTitle")) SetCaption(ADocumentTitle);
}

} // namespace Corvane::Runtime
