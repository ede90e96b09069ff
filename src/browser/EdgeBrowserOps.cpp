// The browser control's properties and operations: thin calls into the web view, its controller and
// its settings, each result recorded.
#include "abi/CaseMap.h"
#include "abi/ComObject.h"
#include "browser/EdgeEx.h"
#include "browser/EdgeText.h"
#include "platform/Streams.h"

namespace Corvane::Browser {

using namespace Corvane::Abi;

using namespace WebView2;

namespace {

// Trimming white space and control characters leaves nothing.
bool IsBlank(const std::string& text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ') return false;
    return true;
}

} // namespace

std::string TCustomEdgeBrowser::BrowserVersionInfo() {
    LPWSTR version = nullptr;
    if (FWebView && FWebViewEnvironment)
        CheckResult(FWebViewEnvironment->get_BrowserVersionString(&version));
    else
        CheckResult(GetCoreWebView2BrowserVersionString(nullptr, &version));
    std::string text = TakeBrowserString(version);
    return Succeeded(LastErrorCode()) ? text : std::string();
}

std::uint32_t TCustomEdgeBrowser::BrowserProcessID() {
    UINT32 processId = 0;
    if (!FWebView || !CheckResult(FWebView->get_BrowserProcessId(&processId))) return 0;
    return processId;
}

bool TCustomEdgeBrowser::CanGoBack() {
    BOOL value = 0;
    return FWebView && CheckResult(FWebView->get_CanGoBack(&value)) && value;
}

bool TCustomEdgeBrowser::CanGoForward() {
    BOOL value = 0;
    return FWebView && CheckResult(FWebView->get_CanGoForward(&value)) && value;
}

bool TCustomEdgeBrowser::ContainsFullScreenElement() {
    BOOL value = 0;
    return FWebView && CheckResult(FWebView->get_ContainsFullScreenElement(&value)) && value;
}

std::string TCustomEdgeBrowser::DocumentTitle() {
    if (!FWebView) return {};
    LPWSTR title = nullptr;
    const bool ok = CheckResult(FWebView->get_DocumentTitle(&title));
    std::string text = TakeBrowserString(title);
    return ok ? text : std::string();
}

std::string TCustomEdgeBrowser::LocationURL() {
    if (!FWebView) return {};
    LPWSTR source = nullptr;
    const bool ok = CheckResult(FWebView->get_Source(&source));
    std::string url = TakeBrowserString(source);
    if (!ok || LowerAscii(url) == "about:blank") return {};
    return url;
}

bool TCustomEdgeBrowser::WebViewCreated() const {
    return FWebViewEnvironment && FWebViewController && FWebView && FWebViewSettings;
}

double TCustomEdgeBrowser::ZoomFactor() {
    double zoom = 0;
    if (!FWebViewController || !CheckResult(FWebViewController->get_ZoomFactor(&zoom))) return 0;
    return zoom;
}

void TCustomEdgeBrowser::SetZoomFactor(double value) {
    if (FWebViewController) CheckResult(FWebViewController->put_ZoomFactor(value));
}

bool TCustomEdgeBrowser::ReadSetting(TSettingGetter getter) {
    BOOL value = 0;
    if (!FWebViewSettings || !CheckResult((FWebViewSettings.Get()->*getter)(&value)))
        throw EEdgeError::CreateRes(TEdgeErrorText::NotInstantiated, E_FAIL);
    return value != 0;
}

void TCustomEdgeBrowser::WriteSetting(TSettingSetter setter, bool value) {
    if (!FWebViewSettings) throw EEdgeError::CreateRes(TEdgeErrorText::NotInstantiated, E_FAIL);
    CheckResult((FWebViewSettings.Get()->*setter)(value ? 1 : 0));
}

// Property name, then the settings object's getter and setter.
#define CRV_EDGE_SETTING(Name, Getter, Setter)                                                               \
    bool TCustomEdgeBrowser::Name() {                                                                        \
        return ReadSetting(&ICoreWebView2Settings::Getter);                                                  \
    }                                                                                                        \
    void TCustomEdgeBrowser::Set##Name(bool value) {                                                         \
        WriteSetting(&ICoreWebView2Settings::Setter, value);                                                 \
    }
CRV_EDGE_SETTING(BuiltInErrorPageEnabled, get_IsBuiltInErrorPageEnabled, put_IsBuiltInErrorPageEnabled)
CRV_EDGE_SETTING(DefaultContextMenusEnabled, get_AreDefaultContextMenusEnabled,
                 put_AreDefaultContextMenusEnabled)
CRV_EDGE_SETTING(DefaultScriptDialogsEnabled, get_AreDefaultScriptDialogsEnabled,
                 put_AreDefaultScriptDialogsEnabled)
CRV_EDGE_SETTING(DevToolsEnabled, get_AreDevToolsEnabled, put_AreDevToolsEnabled)
CRV_EDGE_SETTING(ScriptEnabled, get_IsScriptEnabled, put_IsScriptEnabled)
CRV_EDGE_SETTING(StatusBarEnabled, get_IsStatusBarEnabled, put_IsStatusBarEnabled)
CRV_EDGE_SETTING(WebMessageEnabled, get_IsWebMessageEnabled, put_IsWebMessageEnabled)
CRV_EDGE_SETTING(ZoomControlEnabled, get_IsZoomControlEnabled, put_IsZoomControlEnabled)
#undef CRV_EDGE_SETTING

void TCustomEdgeBrowser::Navigate(const std::string& url) {
    if (FWebView)
        CheckResult(FWebView->Navigate(TBrowserText(url)));
    else if (!IsBlank(url))
        FLastURL = url;
}

void TCustomEdgeBrowser::NavigateToString(const std::string& htmlContent) {
    if (FWebView) CheckResult(FWebView->NavigateToString(TBrowserText(htmlContent)));
}

void TCustomEdgeBrowser::ExecuteScript(const std::string& javaScript) {
    if (!FWebView) return;
    using THandler = ICoreWebView2ExecuteScriptCompletedHandler;
    const auto handler = ComPtr<THandler>::Attach(
        MakeHandler<THandler>([life = FLifeline](HRESULT errorCode, LPCWSTR resultObjectAsJson) -> HRESULT {
            if (TCustomEdgeBrowser* self = life->Owner)
                self->Raise(self->OnExecuteScript, errorCode, FromBrowserText(resultObjectAsJson));
            return S_OK;
        }));
    // The call's own result is not recorded: OnExecuteScript reports how it went.
    FWebView->ExecuteScript(TBrowserText(javaScript), handler.Get());
}

void TCustomEdgeBrowser::AddWebResourceRequestedFilter(const std::string& url,
                                                       COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) {
    if (FWebView) CheckResult(FWebView->AddWebResourceRequestedFilter(TBrowserText(url), resourceContext));
}

void TCustomEdgeBrowser::RemoveWebResourceRequestedFilter(const std::string& url,
                                                          COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) {
    if (FWebView) CheckResult(FWebView->RemoveWebResourceRequestedFilter(TBrowserText(url), resourceContext));
}

void TCustomEdgeBrowser::GoBack() {
    if (FWebView) CheckResult(FWebView->GoBack());
}

void TCustomEdgeBrowser::GoForward() {
    if (FWebView) CheckResult(FWebView->GoForward());
}

void TCustomEdgeBrowser::Refresh() {
    if (FWebView) CheckResult(FWebView->Reload());
}

void TCustomEdgeBrowser::Stop() {
    if (FWebView) CheckResult(FWebView->Stop());
}

void TCustomEdgeBrowser::CapturePreview(const std::string& filename, TPreviewFormat previewFormat) {
    if (const auto stream = Platform::CreateFileStream(filename)) CapturePreview(stream.Get(), previewFormat);
}

void TCustomEdgeBrowser::CapturePreview(IStream* stream, TPreviewFormat previewFormat) {
    if (!FWebView || !stream) return;
    Platform::SeekToStart(stream);
    using THandler = ICoreWebView2CapturePreviewCompletedHandler;
    const auto handler =
        ComPtr<THandler>::Attach(MakeHandler<THandler>([life = FLifeline](HRESULT errorCode) -> HRESULT {
            if (TCustomEdgeBrowser* self = life->Owner)
                self->Raise(self->OnCapturePreviewCompleted, errorCode);
            return S_OK;
        }));
    const auto format = previewFormat == TPreviewFormat::PNG ? COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG
                                                             : COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_JPEG;
    CheckResult(FWebView->CapturePreview(format, stream, handler.Get()));
}

} // namespace Corvane::Browser
