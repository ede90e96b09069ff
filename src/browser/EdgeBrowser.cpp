// The browser control's life: construction, the creation steps, closing, ending the browser process,
// and what it adds to an ordinary windowed control.
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <thread>

#include "abi/ComObject.h"
#include "browser/EdgeEx.h"
#include "platform/Application.h"
#include "platform/ProcessEnd.h"

namespace Corvane::Browser {

using namespace WebView2;

namespace {

// Static initialization runs on the main thread, which is the UI thread.
const std::thread::id gUiThread = std::this_thread::get_id();

constexpr int kBrowserProcessExitWaitMs = 2000;

// Runs fn on the UI thread: at once when called there, otherwise later from its message loop, in
// the order handed over.
void HandToUiThread(std::function<void()> fn) {
    if (std::this_thread::get_id() == gUiThread)
        fn();
    else
        Platform::QueueOnUiThread(std::move(fn));
}

// A success that brings no object is a failure all the same.
template <class T> HRESULT Obtained(HRESULT hr, const ComPtr<T>& object) {
    return Succeeded(hr) && !object ? E_POINTER : hr;
}

// Trunc(extent * ratio + origin), kept inside the coordinate range.
std::int32_t ScaledEdge(std::int32_t origin, std::int32_t extent, double ratio) {
    const double edge = std::trunc(static_cast<double>(extent) * ratio + origin);
    if (std::isnan(edge)) return origin;
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(edge, lowest, highest));
}

} // namespace

TCustomEdgeBrowser::TCustomEdgeBrowser() : FLifeline(std::make_shared<TLifeline>()) {
    FLifeline->Owner = this;
}

TCustomEdgeBrowser::~TCustomEdgeBrowser() {
    {
        // Waits for a completion that is recording its result on another thread right now.
        std::lock_guard lock(FLifeline->Mutex);
        FLifeline->Owner = nullptr;
    }
    CloseWebView();
}

bool TCustomEdgeBrowser::CheckResult(HRESULT hr) {
    std::lock_guard lock(FCritSec);
    FLastErrorCode.store(hr);
    return Succeeded(hr);
}

void TCustomEdgeBrowser::CreateWebView() {
    if (FWebView || FBrowserControlState == TBrowserControlState::Creating) return;
    FBrowserControlState = TBrowserControlState::Creating;
    // What touches the control runs here on the UI thread; the worker only asks for the environment,
    // and the control may be gone before it does.
    ResetForCreation();
    std::thread(RequestEnvironment, FLifeline).detach();
}

void TCustomEdgeBrowser::ReinitializeWebView() {
    ResetForCreation();
    RequestEnvironment(FLifeline);
}

void TCustomEdgeBrowser::ReinitializeWebViewWithNewBrowser() {
    CloseBrowserProcess();
    ReinitializeWebView();
}

void TCustomEdgeBrowser::ResetForCreation() {
    CloseWebView();
    FSizeRatio = 1.0;
    FWebViewFocusEventActive = false;
}

void TCustomEdgeBrowser::RequestEnvironment(const std::shared_ptr<TLifeline>& life) {
    using THandler = ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;
    const auto handler = ComPtr<THandler>::Attach(
        MakeHandler<THandler>([life](HRESULT result, ICoreWebView2Environment* environment) -> HRESULT {
            EnvironmentCompleted(life, result, environment);
            return S_OK;
        }));
    const HRESULT result = CreateCoreWebView2Environment(handler.Get());
    {
        std::lock_guard lock(life->Mutex);
        if (!life->Owner || life->Owner->CheckResult(result)) return;
    }
    HandToUiThread([life, result] {
        if (TCustomEdgeBrowser* self = life->Owner) self->RaiseCreateWebViewCompleted(result);
    });
}

void TCustomEdgeBrowser::EnvironmentCompleted(const std::shared_ptr<TLifeline>& life, HRESULT result,
                                              ICoreWebView2Environment* environment) {
    const ComPtr<ICoreWebView2Environment> kept(environment);
    result = Obtained(result, kept);
    {
        std::lock_guard lock(life->Mutex);
        if (!life->Owner) return;
        life->Owner->CheckResult(result);
    }
    HandToUiThread([life, result, kept] {
        TCustomEdgeBrowser* self = life->Owner;
        if (!self) return;
        if (!Succeeded(result)) {
            self->RaiseCreateWebViewCompleted(result);
            return;
        }
        self->FWebViewEnvironment = kept;
        self->RequestController();
    });
}

void TCustomEdgeBrowser::RequestController() {
    using THandler = ICoreWebView2CreateCoreWebView2ControllerCompletedHandler;
    const auto handler = ComPtr<THandler>::Attach(MakeHandler<THandler>(
        [life = FLifeline](HRESULT result, ICoreWebView2Controller* controller) -> HRESULT {
            HandToUiThread([life, result, kept = ComPtr<ICoreWebView2Controller>(controller)] {
                if (TCustomEdgeBrowser* self = life->Owner) self->ControllerCompleted(result, kept);
            });
            return S_OK;
        }));
    CheckResult(
        FWebViewEnvironment->CreateCoreWebView2Controller(static_cast<HWND>(Handle()), handler.Get()));
}

void TCustomEdgeBrowser::ControllerCompleted(HRESULT result,
                                             const ComPtr<ICoreWebView2Controller>& controller) {
    if (!CheckResult(Obtained(result, controller))) return CreationFailed();
    FWebViewController = controller;
    if (!CheckResult(Obtained(FWebViewController->get_CoreWebView2(FWebView.Put()), FWebView)))
        return CreationFailed();
    if (!CheckResult(Obtained(FWebView->get_Settings(FWebViewSettings.Put()), FWebViewSettings)))
        return CreationFailed();

    FBrowserControlState = TBrowserControlState::Created;
    const auto life = FLifeline;
    RaiseCreateWebViewCompleted(result);
    if (!life->Owner) return; // the handler freed the control

    // Registered after the host's set-up above; the runtime delivers the events of a navigation
    // started there later, through the message loop.
    if (FWebView && FWebViewController) {
        RegisterEvents();
        ApplyBounds();
    }
    if (!FLastURL.empty()) Navigate(FLastURL);
}

void TCustomEdgeBrowser::CreationFailed() {
    FBrowserControlState = TBrowserControlState::Failed;
    if (OnCreateWebViewCompleted) {
        RaiseCreateWebViewCompleted(LastErrorCode());
        return;
    }
    // Raised from the message loop rather than through the runtime's call into us.
    Platform::QueueOnUiThread([errorCode = LastErrorCode()] {
        throw EEdgeError::CreateRes(TEdgeErrorText::CreateFailed, errorCode);
    });
}

void TCustomEdgeBrowser::CloseWebView() {
    if (FWebView) {
        RemoveWebViewEvents();
        RemoveDevToolsSubscriptions();
        FWebView.Reset();
    }
    if (FWebViewController) {
        RemoveControllerEvents();
        FWebViewController->Close();
        FWebViewController.Reset();
    }
}

void TCustomEdgeBrowser::CloseBrowserProcess() {
    const std::uint32_t processId = BrowserProcessID();
    CloseWebView();
    if (processId != 0) Platform::WaitOrKillProcess(processId, kBrowserProcessExitWaitMs);
}

void TCustomEdgeBrowser::ApplyBounds() {
    if (!FWebViewController) return;
    const Platform::TRect client = ClientRect();
    const RECT bounds{client.Left, client.Top,
                      ScaledEdge(client.Left, client.Right - client.Left, FSizeRatio),
                      ScaledEdge(client.Top, client.Bottom - client.Top, FSizeRatio)};
    CheckResult(FWebViewController->put_Bounds(bounds));
}

void TCustomEdgeBrowser::SetSizeRatio(double value) {
    FSizeRatio = value;
    ApplyBounds();
}

void TCustomEdgeBrowser::SetBrowserVisible(bool visible) {
    if (FWebViewController) CheckResult(FWebViewController->put_IsVisible(visible ? 1 : 0));
}

void TCustomEdgeBrowser::ParentChanged() {
    if (HasParent()) CreateWebView();
}

void TCustomEdgeBrowser::Resized() {
    ApplyBounds();
}

void TCustomEdgeBrowser::VisibleChanged() {
    SetBrowserVisible(Visible());
}

void TCustomEdgeBrowser::SysCommand(Platform::TSysCommand command) {
    SetBrowserVisible(command == Platform::TSysCommand::Restore);
}

void TCustomEdgeBrowser::DoEnter() {
    TWinControl::DoEnter();
    // Focus that the browser took by itself stays where it is.
    if (!FWebViewFocusEventActive && FWebViewController)
        CheckResult(FWebViewController->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC));
}

void TCustomEdgeBrowser::SetFocus() {
    TWinControl::SetFocus();
    if (FWebViewController)
        CheckResult(FWebViewController->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC));
}

} // namespace Corvane::Browser
