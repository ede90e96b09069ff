// The browser control's runtime events: one table of registrations, what each delivery raises, the
// hand-over of keys to the host form's shortcuts, the browser's own focus changes and the DevTools
// protocol subscriptions.
#include <array>

#include "abi/ComObject.h"
#include "browser/EdgeEx.h"
#include "browser/EdgeText.h"
#include "platform/Form.h"

namespace Corvane::Browser {

using namespace WebView2;

namespace {

// Index into the registration table and the token array; registration runs in this order.
enum TRuntimeEvent : std::size_t {
    evNavigationStarting,
    evNavigationCompleted,
    evSourceChanged,
    evHistoryChanged,
    evContentLoading,
    evDocumentTitleChanged,
    evNewWindowRequested,
    evFrameNavigationStarting,
    evFrameNavigationCompleted,
    evWebResourceRequested,
    evScriptDialogOpening,
    evPermissionRequested,
    evProcessFailed,
    evWebMessageReceived,
    evContainsFullScreenElementChanged,
    evWindowCloseRequested,
    // The controller's.
    evZoomFactorChanged,
    evMoveFocusRequested,
    evAcceleratorKeyPressed,
    evGotFocus,
    evLostFocus,
    evCount
};

constexpr TRuntimeEvent kWebViewRemovalOrder[] = {evNavigationStarting,
                                                  evNavigationCompleted,
                                                  evSourceChanged,
                                                  evHistoryChanged,
                                                  evContentLoading,
                                                  evDocumentTitleChanged,
                                                  evNewWindowRequested,
                                                  evFrameNavigationStarting,
                                                  evFrameNavigationCompleted,
                                                  evWebResourceRequested,
                                                  evScriptDialogOpening,
                                                  evPermissionRequested,
                                                  evProcessFailed,
                                                  evWebMessageReceived,
                                                  evWindowCloseRequested,
                                                  evContainsFullScreenElementChanged};
constexpr TRuntimeEvent kControllerRemovalOrder[] = {evAcceleratorKeyPressed, evGotFocus, evLostFocus,
                                                     evMoveFocusRequested, evZoomFactorChanged};

// The runtime's key event kinds 0..3 as window messages: key down, key up, system key down and up.
constexpr unsigned kKeyMessages[] = {0x0100, 0x0101, 0x0104, 0x0105};

// The parts of an add_ method: the object it belongs to and the handler interface it takes.
template <class F> struct TAddMethod;
template <class T, class H> struct TAddMethod<HRESULT (STDMETHODCALLTYPE T::*)(H*, EventRegistrationToken*)> {
    using Target = T;
    using Handler = H;
};

} // namespace

struct TCustomEdgeBrowser::TRuntimeEvents {
    using B = TCustomEdgeBrowser;
    static_assert(evCount == kRuntimeEventCount);

    struct TEntry {
        HRESULT (*Add)(B& self, EventRegistrationToken* token);
        HRESULT (*Remove)(B& self, EventRegistrationToken token);
    };

    static ICoreWebView2* Target(B& self, ICoreWebView2*) { return self.FWebView.Get(); }
    static ICoreWebView2Controller* Target(B& self, ICoreWebView2Controller*) {
        return self.FWebViewController.Get();
    }

    // A registration whose handler passes each delivery's arguments to Dispatch while the control
    // lives, and always answers success.
    template <auto AddFn, auto RemoveFn, auto Dispatch> static constexpr TEntry Entry() {
        using T = typename TAddMethod<decltype(AddFn)>::Target;
        using H = typename TAddMethod<decltype(AddFn)>::Handler;
        return {[](B& self, EventRegistrationToken* token) -> HRESULT {
                    const auto handler = ComPtr<H>::Attach(
                        MakeHandler<H>([life = self.FLifeline](auto*, auto* args) -> HRESULT {
                            if (B* owner = life->Owner) Dispatch(*owner, args);
                            return S_OK;
                        }));
                    return (Target(self, static_cast<T*>(nullptr))->*AddFn)(handler.Get(), token);
                },
                [](B& self, EventRegistrationToken token) -> HRESULT {
                    return (Target(self, static_cast<T*>(nullptr))->*RemoveFn)(token);
                }};
    }

    // Deliveries. None reads the arguments unless the control's event has a handler.

    template <auto Event, class TWrapper>
    static void RaiseWrapped(B& self, typename TWrapper::Interface* args) {
        if (!(self.*Event)) return;
        TWrapper wrapper(args);
        self.Raise(self.*Event, wrapper);
    }

    template <auto Event> static void RaiseNotify(B& self, IUnknown*) { self.Raise(self.*Event); }

    template <auto Event>
    static void RaiseNavigationCompleted(B& self, ICoreWebView2NavigationCompletedEventArgs* args) {
        if (!(self.*Event)) return;
        BOOL isSuccess = 0;
        COREWEBVIEW2_WEB_ERROR_STATUS webErrorStatus = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
        self.CheckResult(args->get_IsSuccess(&isSuccess));
        self.CheckResult(args->get_WebErrorStatus(&webErrorStatus));
        self.Raise(self.*Event, isSuccess != 0, webErrorStatus);
    }

    static void SourceChanged(B& self, ICoreWebView2SourceChangedEventArgs* args) {
        if (!self.OnSourceChanged) return;
        BOOL isNewDocument = 0;
        self.CheckResult(args->get_IsNewDocument(&isNewDocument));
        self.Raise(self.OnSourceChanged, isNewDocument != 0);
    }

    static void ContentLoading(B& self, ICoreWebView2ContentLoadingEventArgs* args) {
        if (!self.OnContentLoading) return;
        BOOL isErrorPage = 0;
        UINT64 navigationId = 0;
        self.CheckResult(args->get_IsErrorPage(&isErrorPage));
        self.CheckResult(args->get_NavigationId(&navigationId));
        self.Raise(self.OnContentLoading, isErrorPage != 0, static_cast<std::uint64_t>(navigationId));
    }

    static void DocumentTitleChanged(B& self, IUnknown*) {
        if (self.OnDocumentTitleChanged) self.Raise(self.OnDocumentTitleChanged, self.DocumentTitle());
    }

    static void ProcessFailed(B& self, ICoreWebView2ProcessFailedEventArgs* args) {
        if (!self.OnProcessFailed) return;
        COREWEBVIEW2_PROCESS_FAILED_KIND kind = COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED;
        self.CheckResult(args->get_ProcessFailedKind(&kind));
        self.Raise(self.OnProcessFailed, kind);
    }

    static void ContainsFullScreenElementChanged(B& self, IUnknown*) {
        if (!self.OnContainsFullScreenElementChanged || !self.FWebView) return;
        BOOL contains = 0;
        if (self.CheckResult(self.FWebView->get_ContainsFullScreenElement(&contains)))
            self.Raise(self.OnContainsFullScreenElementChanged, contains != 0);
    }

    static void ZoomFactorChanged(B& self, IUnknown*) {
        if (self.OnZoomFactorChanged) self.Raise(self.OnZoomFactorChanged, self.ZoomFactor());
    }

    // Tabbing out of the page: the control has no children to pass the focus to, so the runtime's
    // own handling stays.
    static void MoveFocusRequested(B&, ICoreWebView2MoveFocusRequestedEventArgs*) {}

    // A key pressed in the page goes to the host form's shortcuts first; one that it takes never
    // reaches the page.
    static void AcceleratorKeyPressed(B& self, ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
        COREWEBVIEW2_KEY_EVENT_KIND kind = COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN;
        UINT virtualKey = 0;
        INT lParam = 0;
        if (!self.CheckResult(args->get_KeyEventKind(&kind)) ||
            !self.CheckResult(args->get_VirtualKey(&virtualKey)) ||
            !self.CheckResult(args->get_KeyEventLParam(&lParam)))
            return;
        Platform::TForm* form = self.ParentForm();
        if (!form || kind < 0 || static_cast<std::size_t>(kind) >= std::size(kKeyMessages)) return;
        const Platform::TKeyMessage message{kKeyMessages[kind], virtualKey, lParam};
        if (form->IsShortCut(message)) self.CheckResult(args->put_Handled(1));
    }

    // The page took the focus: the control is entered without sending the focus back into the page.
    static void GotFocus(B& self, IUnknown*) {
        self.FWebViewFocusEventActive = true;
        self.DoEnter();
        self.FWebViewFocusEventActive = false;
    }

    static void LostFocus(B& self, IUnknown*) { self.DoExit(); }

    static const std::array<TEntry, evCount>& Table() {
        using W = ICoreWebView2;
        using C = ICoreWebView2Controller;
        static constexpr std::array<TEntry, evCount> table = {
            Entry<&W::add_NavigationStarting, &W::remove_NavigationStarting,
                  &RaiseWrapped<&B::OnNavigationStarting, TNavigationStartingEventArgs>>(),
            Entry<&W::add_NavigationCompleted, &W::remove_NavigationCompleted,
                  &RaiseNavigationCompleted<&B::OnNavigationCompleted>>(),
            Entry<&W::add_SourceChanged, &W::remove_SourceChanged, &SourceChanged>(),
            Entry<&W::add_HistoryChanged, &W::remove_HistoryChanged, &RaiseNotify<&B::OnHistoryChanged>>(),
            Entry<&W::add_ContentLoading, &W::remove_ContentLoading, &ContentLoading>(),
            Entry<&W::add_DocumentTitleChanged, &W::remove_DocumentTitleChanged, &DocumentTitleChanged>(),
            Entry<&W::add_NewWindowRequested, &W::remove_NewWindowRequested,
                  &RaiseWrapped<&B::OnNewWindowRequested, TNewWindowRequestedEventArgs>>(),
            Entry<&W::add_FrameNavigationStarting, &W::remove_FrameNavigationStarting,
                  &RaiseWrapped<&B::OnFrameNavigationStarting, TNavigationStartingEventArgs>>(),
            Entry<&W::add_FrameNavigationCompleted, &W::remove_FrameNavigationCompleted,
                  &RaiseNavigationCompleted<&B::OnFrameNavigationCompleted>>(),
            Entry<&W::add_WebResourceRequested, &W::remove_WebResourceRequested,
                  &RaiseWrapped<&B::OnWebResourceRequested, TWebResourceRequestedEventArgs>>(),
            Entry<&W::add_ScriptDialogOpening, &W::remove_ScriptDialogOpening,
                  &RaiseWrapped<&B::OnScriptDialogOpening, TScriptDialogOpeningEventArgs>>(),
            Entry<&W::add_PermissionRequested, &W::remove_PermissionRequested,
                  &RaiseWrapped<&B::OnPermissionRequested, TPermissionRequestedEventArgs>>(),
            Entry<&W::add_ProcessFailed, &W::remove_ProcessFailed, &ProcessFailed>(),
            Entry<&W::add_WebMessageReceived, &W::remove_WebMessageReceived,
                  &RaiseWrapped<&B::OnWebMessageReceived, TWebMessageReceivedEventArgs>>(),
            Entry<&W::add_ContainsFullScreenElementChanged, &W::remove_ContainsFullScreenElementChanged,
                  &ContainsFullScreenElementChanged>(),
            Entry<&W::add_WindowCloseRequested, &W::remove_WindowCloseRequested,
                  &RaiseNotify<&B::OnWindowCloseRequested>>(),
            Entry<&C::add_ZoomFactorChanged, &C::remove_ZoomFactorChanged, &ZoomFactorChanged>(),
            Entry<&C::add_MoveFocusRequested, &C::remove_MoveFocusRequested, &MoveFocusRequested>(),
            Entry<&C::add_AcceleratorKeyPressed, &C::remove_AcceleratorKeyPressed, &AcceleratorKeyPressed>(),
            Entry<&C::add_GotFocus, &C::remove_GotFocus, &GotFocus>(),
            Entry<&C::add_LostFocus, &C::remove_LostFocus, &LostFocus>(),
        };
        return table;
    }

    static void Remove(B& self, TRuntimeEvent event) {
        Table()[event].Remove(self, self.FEventTokens[event]);
    }
};

// Registrations and removals are not recorded in LastErrorCode.
void TCustomEdgeBrowser::RegisterEvents() {
    const auto& table = TRuntimeEvents::Table();
    for (std::size_t event = 0; event < table.size(); ++event)
        table[event].Add(*this, &FEventTokens[event]);
}

void TCustomEdgeBrowser::RemoveWebViewEvents() {
    for (const TRuntimeEvent event : kWebViewRemovalOrder)
        TRuntimeEvents::Remove(*this, event);
}

void TCustomEdgeBrowser::RemoveControllerEvents() {
    for (const TRuntimeEvent event : kControllerRemovalOrder)
        TRuntimeEvents::Remove(*this, event);
}

void TCustomEdgeBrowser::SubscribeToCDPEvent(const std::string& cdpEventName) {
    if (!FWebView) return;
    ComPtr<ICoreWebView2DevToolsProtocolEventReceiver> receiver;
    if (!CheckResult(
            FWebView->GetDevToolsProtocolEventReceiver(TBrowserText(cdpEventName), receiver.Put())) ||
        !receiver)
        return;
    if (const auto kept = FDevToolsProtocolEventReceivedTokenMap.find(cdpEventName);
        kept != FDevToolsProtocolEventReceivedTokenMap.end())
        receiver->remove_DevToolsProtocolEventReceived(kept->second);

    using THandler = ICoreWebView2DevToolsProtocolEventReceivedEventHandler;
    const auto handler = ComPtr<THandler>::Attach(MakeHandler<THandler>(
        [life = FLifeline,
         cdpEventName](ICoreWebView2*, ICoreWebView2DevToolsProtocolEventReceivedEventArgs* args) -> HRESULT {
            TCustomEdgeBrowser* self = life->Owner;
            if (!self || !self->OnDevToolsProtocolEventReceived) return S_OK;
            LPWSTR json = nullptr;
            const bool ok = self->CheckResult(args->get_ParameterObjectAsJson(&json));
            const std::string parameters = TakeBrowserString(json);
            if (ok) self->Raise(self->OnDevToolsProtocolEventReceived, cdpEventName, parameters);
            return S_OK;
        }));
    EventRegistrationToken token{};
    CheckResult(receiver->add_DevToolsProtocolEventReceived(handler.Get(), &token));
    FDevToolsProtocolEventReceivedTokenMap[cdpEventName] = token;
}

void TCustomEdgeBrowser::RemoveDevToolsSubscriptions() {
    for (const auto& [name, token] : FDevToolsProtocolEventReceivedTokenMap) {
        ComPtr<ICoreWebView2DevToolsProtocolEventReceiver> receiver;
        if (CheckResult(FWebView->GetDevToolsProtocolEventReceiver(TBrowserText(name), receiver.Put())) &&
            receiver)
            receiver->remove_DevToolsProtocolEventReceived(token);
    }
    FDevToolsProtocolEventReceivedTokenMap.clear();
}

} // namespace Corvane::Browser
