// The browser control: a windowed control that hosts one embedded browser, made through the loader
// library at EdgeLoaderDllPath, and that turns the browser's events into its own.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "abi/ComPtr.h"
#include "abi/WebView2.h"
#include "browser/EdgeError.h"
#include "browser/EdgeEventArgs.h"
#include "platform/Control.h"

namespace Corvane::Browser {

// Full path of the loader library. Start-up sets it before any browser code runs.
extern std::string EdgeLoaderDllPath;

// Loads the loader library from EdgeLoaderDllPath, at most once per process; after a failure the
// next call tries again. Callable from any thread.
bool LoadWebView2Loader();
// The loader's exports, loading the library first: E_FAIL when it cannot be loaded or lacks the export.
WebView2::HRESULT CreateCoreWebView2Environment(
    WebView2::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler);
WebView2::HRESULT GetCoreWebView2BrowserVersionString(WebView2::PCWSTR browserExecutableFolder,
                                                      WebView2::LPWSTR* versionInfo);

enum class TBrowserControlState { None, Creating, Created, Failed };
// Handed to the runtime as image format 0 and 1.
enum class TPreviewFormat { PNG, JPEG };

class TCustomEdgeBrowser;
// A control event: the control, then the event's own parameters.
template <class... A> using TEdgeEvent = std::function<void(TCustomEdgeBrowser* sender, A...)>;

// Placing the control on a parent starts the browser's creation: the environment is asked for on a
// worker thread, the controller on the UI thread, and OnCreateWebViewCompleted tells how it ended.
// Every runtime call's HRESULT lands in LastErrorCode; nothing throws except the settings
// properties and a failed creation without an OnCreateWebViewCompleted handler (see EEdgeError).
class TCustomEdgeBrowser : public Platform::TWinControl {
public:
    TCustomEdgeBrowser();
    ~TCustomEdgeBrowser() override;

    TBrowserControlState BrowserControlState() const { return FBrowserControlState; }
    // The runtime's version text (the environment's with a web view, the loader's without); empty
    // when the call fails.
    std::string BrowserVersionInfo();
    // The browser process's id; 0 without a web view or when the call fails.
    std::uint32_t BrowserProcessID();
    WebView2::ICoreWebView2* DefaultInterface() const { return FWebView.Get(); }
    WebView2::ICoreWebView2Controller* ControllerInterface() const { return FWebViewController.Get(); }
    WebView2::ICoreWebView2Environment* EnvironmentInterface() const { return FWebViewEnvironment.Get(); }
    WebView2::ICoreWebView2Settings* SettingsInterface() const { return FWebViewSettings.Get(); }
    // False without a web view or when the call fails.
    bool CanGoBack();
    bool CanGoForward();
    bool ContainsFullScreenElement();
    // Empty without a web view or when the call fails.
    std::string DocumentTitle();
    // The result of the last recorded runtime call.
    WebView2::HRESULT LastErrorCode() const { return FLastErrorCode.load(); }
    // The page's URL; empty without a web view and for about:blank.
    std::string LocationURL();
    // The fraction of the client area, from its top-left corner, that the browser covers.
    double SizeRatio() const { return FSizeRatio; }
    void SetSizeRatio(double value);
    // Environment, controller, web view and settings are all there.
    bool WebViewCreated() const;
    // 0 without a controller; setting it without one does nothing.
    double ZoomFactor();
    void SetZoomFactor(double value);
    const std::string& LastURL() const { return FLastURL; }
    void SetLastURL(const std::string& value) { FLastURL = value; }

    // The web view's settings. Reading throws EEdgeError ("WebView2 not instantiated", E_FAIL)
    // without a settings object or when the runtime fails; writing throws it without one.
    bool BuiltInErrorPageEnabled();
    void SetBuiltInErrorPageEnabled(bool value);
    bool DefaultContextMenusEnabled();
    void SetDefaultContextMenusEnabled(bool value);
    bool DefaultScriptDialogsEnabled();
    void SetDefaultScriptDialogsEnabled(bool value);
    bool DevToolsEnabled();
    void SetDevToolsEnabled(bool value);
    bool ScriptEnabled();
    void SetScriptEnabled(bool value);
    bool StatusBarEnabled();
    void SetStatusBarEnabled(bool value);
    bool WebMessageEnabled();
    void SetWebMessageEnabled(bool value);
    bool ZoomControlEnabled();
    void SetZoomControlEnabled(bool value);

    // Without a web view, a URL that is not blank is kept in LastURL and opened once creation ends.
    void Navigate(const std::string& url);
    // The operations below do nothing without a web view.
    void NavigateToString(const std::string& htmlContent);
    // Runs the script in the top document; OnExecuteScript gets the result as JSON text.
    void ExecuteScript(const std::string& javaScript);
    void AddWebResourceRequestedFilter(const std::string& url,
                                       WebView2::COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext);
    void RemoveWebResourceRequestedFilter(const std::string& url,
                                          WebView2::COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext);
    void GoBack();
    void GoForward();
    void Refresh();
    void Stop();
    // Captures the visible page into a file (created or truncated) or into the start of a stream;
    // OnCapturePreviewCompleted tells the result.
    void CapturePreview(const std::string& filename, TPreviewFormat previewFormat);
    void CapturePreview(WebView2::IStream* stream, TPreviewFormat previewFormat);

    // Starts creation unless a web view exists or a creation is under way.
    void CreateWebView();
    // Removes the control's handlers and releases web view and controller. The state stays.
    void CloseWebView();
    // Closes the browser, then waits up to 2 s for its process to end and kills it if it does not.
    void CloseBrowserProcess();
    // Asks for a new environment on the calling thread, whatever the state.
    void ReinitializeWebView();
    void ReinitializeWebViewWithNewBrowser();
    // Focuses the control, then moves the focus into the page.
    void SetFocus();
    // Raises OnDevToolsProtocolEventReceived for the named DevTools protocol event; subscribing to a
    // name again replaces the earlier subscription.
    void SubscribeToCDPEvent(const std::string& cdpEventName);

protected:
    // Events, raised on the UI thread; TEdgeBrowser publishes them. Argument wrappers live for one
    // delivery. An event nobody handles reads nothing from the runtime's arguments.
    TEdgeEvent<WebView2::HRESULT /*AResult*/> OnCapturePreviewCompleted;
    TEdgeEvent<bool /*ContainsFullScreenElement*/> OnContainsFullScreenElementChanged;
    TEdgeEvent<bool /*IsErrorPage*/, std::uint64_t /*NavigationID*/> OnContentLoading;
    TEdgeEvent<WebView2::HRESULT /*AResult*/> OnCreateWebViewCompleted;
    TEdgeEvent<const std::string& /*CDPEventName*/, const std::string& /*AParameterObjectAsJson*/>
        OnDevToolsProtocolEventReceived;
    TEdgeEvent<const std::string& /*ADocumentTitle*/> OnDocumentTitleChanged;
    TEdgeEvent<WebView2::HRESULT /*AResult*/, const std::string& /*AResultObjectAsJson*/> OnExecuteScript;
    TEdgeEvent<TNavigationStartingEventArgs& /*Args*/> OnFrameNavigationStarting;
    TEdgeEvent<bool /*IsSuccess*/, WebView2::COREWEBVIEW2_WEB_ERROR_STATUS /*WebErrorStatus*/>
        OnFrameNavigationCompleted;
    TEdgeEvent<> OnHistoryChanged;
    TEdgeEvent<TNavigationStartingEventArgs& /*Args*/> OnNavigationStarting;
    TEdgeEvent<bool /*IsSuccess*/, WebView2::COREWEBVIEW2_WEB_ERROR_STATUS /*WebErrorStatus*/>
        OnNavigationCompleted;
    TEdgeEvent<TNewWindowRequestedEventArgs& /*Args*/> OnNewWindowRequested;
    TEdgeEvent<TPermissionRequestedEventArgs& /*Args*/> OnPermissionRequested;
    TEdgeEvent<WebView2::COREWEBVIEW2_PROCESS_FAILED_KIND /*ProcessFailedKind*/> OnProcessFailed;
    TEdgeEvent<TScriptDialogOpeningEventArgs& /*Args*/> OnScriptDialogOpening;
    TEdgeEvent<bool /*IsNewDocument*/> OnSourceChanged;
    TEdgeEvent<TWebMessageReceivedEventArgs& /*Args*/> OnWebMessageReceived;
    TEdgeEvent<TWebResourceRequestedEventArgs& /*Args*/> OnWebResourceRequested;
    TEdgeEvent<> OnWindowCloseRequested;
    TEdgeEvent<double /*AZoomFactor*/> OnZoomFactorChanged;

    // Stores hr in LastErrorCode; true when it is not a failure. Callable from any thread.
    bool CheckResult(WebView2::HRESULT hr);

    void ParentChanged() override;
    void Resized() override;
    void VisibleChanged() override;
    void DoEnter() override;
    void SysCommand(Platform::TSysCommand command) override;

private:
    // What handlers given to the runtime hold instead of the control, which may be gone when they
    // run. Owner is cleared under Mutex by the destructor; other threads read it under Mutex.
    struct TLifeline {
        std::mutex Mutex;
        TCustomEdgeBrowser* Owner = nullptr;
    };
    // The runtime events: one registration table, their dispatch and the DevTools subscriptions.
    struct TRuntimeEvents;
    friend struct TRuntimeEvents;
    static constexpr std::size_t kRuntimeEventCount = 21;

    using TSettingGetter =
        WebView2::HRESULT (STDMETHODCALLTYPE WebView2::ICoreWebView2Settings::*)(WebView2::BOOL*);
    using TSettingSetter =
        WebView2::HRESULT (STDMETHODCALLTYPE WebView2::ICoreWebView2Settings::*)(WebView2::BOOL);

    // Creation, in the order its steps run.
    void ResetForCreation();
    static void RequestEnvironment(const std::shared_ptr<TLifeline>& life);
    static void EnvironmentCompleted(const std::shared_ptr<TLifeline>& life, WebView2::HRESULT result,
                                     WebView2::ICoreWebView2Environment* environment);
    void RequestController();
    void ControllerCompleted(WebView2::HRESULT result,
                             const WebView2::ComPtr<WebView2::ICoreWebView2Controller>& controller);
    void CreationFailed();
    void RaiseCreateWebViewCompleted(WebView2::HRESULT result) { Raise(OnCreateWebViewCompleted, result); }

    void ApplyBounds();
    void SetBrowserVisible(bool visible);
    bool ReadSetting(TSettingGetter getter);
    void WriteSetting(TSettingSetter setter, bool value);

    // In the registration table's file.
    void RegisterEvents();
    void RemoveWebViewEvents();
    void RemoveControllerEvents();
    void RemoveDevToolsSubscriptions();

    // Calls a copy of the handler: a handler may replace itself or free the control.
    template <class... P, class... A> void Raise(const TEdgeEvent<P...>& event, A&&... args) {
        if (!event) return;
        const auto handler = event;
        handler(this, std::forward<A>(args)...);
    }

    TBrowserControlState FBrowserControlState = TBrowserControlState::None;
    WebView2::ComPtr<WebView2::ICoreWebView2Environment> FWebViewEnvironment;
    WebView2::ComPtr<WebView2::ICoreWebView2Controller> FWebViewController;
    WebView2::ComPtr<WebView2::ICoreWebView2> FWebView;
    WebView2::ComPtr<WebView2::ICoreWebView2Settings> FWebViewSettings;
    double FSizeRatio = 1.0;
    // Written under FCritSec; read without it.
    std::atomic<WebView2::HRESULT> FLastErrorCode{WebView2::S_OK};
    bool FWebViewFocusEventActive = false;
    std::string FLastURL;
    std::mutex FCritSec;
    // One token per runtime event, in registration order.
    std::array<WebView2::EventRegistrationToken, kRuntimeEventCount> FEventTokens{};
    std::map<std::string, WebView2::EventRegistrationToken> FDevToolsProtocolEventReceivedTokenMap;
    std::shared_ptr<TLifeline> FLifeline;
};

class TEdgeBrowser : public TCustomEdgeBrowser {
public:
    using TCustomEdgeBrowser::OnCapturePreviewCompleted;
    using TCustomEdgeBrowser::OnContainsFullScreenElementChanged;
    using TCustomEdgeBrowser::OnContentLoading;
    using TCustomEdgeBrowser::OnCreateWebViewCompleted;
    using TCustomEdgeBrowser::OnDevToolsProtocolEventReceived;
    using TCustomEdgeBrowser::OnDocumentTitleChanged;
    using TCustomEdgeBrowser::OnExecuteScript;
    using TCustomEdgeBrowser::OnFrameNavigationCompleted;
    using TCustomEdgeBrowser::OnFrameNavigationStarting;
    using TCustomEdgeBrowser::OnHistoryChanged;
    using TCustomEdgeBrowser::OnNavigationCompleted;
    using TCustomEdgeBrowser::OnNavigationStarting;
    using TCustomEdgeBrowser::OnNewWindowRequested;
    using TCustomEdgeBrowser::OnPermissionRequested;
    using TCustomEdgeBrowser::OnProcessFailed;
    using TCustomEdgeBrowser::OnScriptDialogOpening;
    using TCustomEdgeBrowser::OnSourceChanged;
    using TCustomEdgeBrowser::OnWebMessageReceived;
    using TCustomEdgeBrowser::OnWebResourceRequested;
    using TCustomEdgeBrowser::OnWindowCloseRequested;
    using TCustomEdgeBrowser::OnZoomFactorChanged;
};

} // namespace Corvane::Browser
