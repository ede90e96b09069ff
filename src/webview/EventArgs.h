// The argument objects of the web view's and the controller's events.
#pragma once

#include <functional>
#include <string>

#include "abi/ComObject.h"
#include "abi/ComPtr.h"
#include "webview/Deferral.h"
#include "webview/HttpHeaders.h"
#include "webview/KeyMap.h"

namespace CrvWebView {

using namespace WebView2;

class TNavigationStartingArgs final : public TComObject<ICoreWebView2NavigationStartingEventArgs> {
public:
    TNavigationStartingArgs(std::string uri, bool userInitiated, bool redirected, UINT64 navigationId)
        : FUri(std::move(uri)), FUserInitiated(userInitiated), FRedirected(redirected),
          FNavigationId(navigationId) {}
    bool Cancelled() const { return FCancel; }

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** headers) override;
    HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) override;
    HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) override;
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* id) override;

private:
    std::string FUri;
    bool FUserInitiated;
    bool FRedirected;
    UINT64 FNavigationId;
    bool FCancel = false;
};

class TNavigationCompletedArgs final : public TComObject<ICoreWebView2NavigationCompletedEventArgs> {
public:
    TNavigationCompletedArgs(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status, UINT64 navigationId)
        : FSuccess(success), FStatus(status), FNavigationId(navigationId) {}

    HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* value) override;
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* id) override;

private:
    bool FSuccess;
    COREWEBVIEW2_WEB_ERROR_STATUS FStatus;
    UINT64 FNavigationId;
};

class TSourceChangedArgs final : public TComObject<ICoreWebView2SourceChangedEventArgs> {
public:
    explicit TSourceChangedArgs(bool newDocument) : FNewDocument(newDocument) {}
    HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* value) override;

private:
    bool FNewDocument;
};

class TContentLoadingArgs final : public TComObject<ICoreWebView2ContentLoadingEventArgs> {
public:
    TContentLoadingArgs(bool errorPage, UINT64 navigationId)
        : FErrorPage(errorPage), FNavigationId(navigationId) {}
    HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* value) override;

private:
    bool FErrorPage;
    UINT64 FNavigationId;
};

class TProcessFailedArgs final : public TComObject<ICoreWebView2ProcessFailedEventArgs> {
public:
    explicit TProcessFailedArgs(COREWEBVIEW2_PROCESS_FAILED_KIND kind) : FKind(kind) {}
    HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* value) override;

private:
    COREWEBVIEW2_PROCESS_FAILED_KIND FKind;
};

// The new window's fate is read once the handlers ran; a deferral must complete before that.
class TNewWindowRequestedArgs final : public TComObject<ICoreWebView2NewWindowRequestedEventArgs> {
public:
    TNewWindowRequestedArgs(std::string uri, bool userInitiated)
        : FUri(std::move(uri)), FUserInitiated(userInitiated) {}
    bool Handled() const { return FHandled; }

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* newWindow) override;
    HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** newWindow) override;
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override;
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override;
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;
    HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** value) override;

private:
    std::string FUri;
    bool FUserInitiated;
    bool FHandled = false;
};

class TPermissionRequestedArgs final : public TComObject<ICoreWebView2PermissionRequestedEventArgs> {
public:
    // outcome runs with the chosen state once the handlers ran and every deferral completed.
    TPermissionRequestedArgs(std::string uri, COREWEBVIEW2_PERMISSION_KIND kind, bool userInitiated,
                             std::function<void(COREWEBVIEW2_PERMISSION_STATE)> outcome);
    void HandlersDone() { FGate.HandlersDone(); }

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* value) override;
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE* state) override;
    HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) override;
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;

private:
    std::string FUri;
    COREWEBVIEW2_PERMISSION_KIND FKind;
    bool FUserInitiated;
    COREWEBVIEW2_PERMISSION_STATE FState = COREWEBVIEW2_PERMISSION_STATE_DEFAULT;
    TDeferralGate FGate;
};

class TScriptDialogOpeningArgs final : public TComObject<ICoreWebView2ScriptDialogOpeningEventArgs> {
public:
    // outcome runs with (accepted, result text) once the handlers ran and every deferral completed.
    TScriptDialogOpeningArgs(std::string uri, COREWEBVIEW2_SCRIPT_DIALOG_KIND kind, std::string message,
                             std::string defaultText, std::function<void(bool, const std::string&)> outcome);
    void HandlersDone() { FGate.HandlersDone(); }

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE get_Kind(COREWEBVIEW2_SCRIPT_DIALOG_KIND* kind) override;
    HRESULT STDMETHODCALLTYPE get_Message(LPWSTR* message) override;
    HRESULT STDMETHODCALLTYPE Accept() override;
    HRESULT STDMETHODCALLTYPE get_DefaultText(LPWSTR* text) override;
    HRESULT STDMETHODCALLTYPE get_ResultText(LPWSTR* text) override;
    HRESULT STDMETHODCALLTYPE put_ResultText(LPCWSTR text) override;
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;

private:
    std::string FUri;
    COREWEBVIEW2_SCRIPT_DIALOG_KIND FKind;
    std::string FMessage;
    std::string FDefaultText;
    std::string FResultText;
    bool FAccepted = false;
    TDeferralGate FGate;
};

class TWebMessageReceivedArgs final : public TComObject<ICoreWebView2WebMessageReceivedEventArgs> {
public:
    TWebMessageReceivedArgs(std::string source, std::string json)
        : FSource(std::move(source)), FJson(std::move(json)) {}

    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(LPWSTR* value) override;

private:
    std::string FSource;
    std::string FJson;
};

class TAcceleratorKeyPressedArgs final : public TComObject<ICoreWebView2AcceleratorKeyPressedEventArgs> {
public:
    explicit TAcceleratorKeyPressedArgs(const TKeyMessage& key) : FKey(key) {}
    bool Handled() const { return FHandled; }

    HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* kind) override;
    HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT* key) override;
    HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT* lParam) override;
    HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* status) override;
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override;
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override;

private:
    TKeyMessage FKey;
    bool FHandled = false;
};

class TMoveFocusRequestedArgs final : public TComObject<ICoreWebView2MoveFocusRequestedEventArgs> {
public:
    explicit TMoveFocusRequestedArgs(COREWEBVIEW2_MOVE_FOCUS_REASON reason) : FReason(reason) {}
    bool Handled() const { return FHandled; }

    HRESULT STDMETHODCALLTYPE get_Reason(COREWEBVIEW2_MOVE_FOCUS_REASON* reason) override;
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL value) override;

private:
    COREWEBVIEW2_MOVE_FOCUS_REASON FReason;
    bool FHandled = false;
};

class TWebResourceRequestedArgs final : public TComObject<ICoreWebView2WebResourceRequestedEventArgs> {
public:
    // outcome runs with the response put here (null: none) once the handlers ran and every deferral
    // completed.
    TWebResourceRequestedArgs(
        ICoreWebView2WebResourceRequest* request, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
        std::function<void(ICoreWebView2WebResourceRequest*, ICoreWebView2WebResourceResponse*)> outcome);
    void HandlersDone() { FGate.HandlersDone(); }

    HRESULT STDMETHODCALLTYPE get_Request(ICoreWebView2WebResourceRequest** request) override;
    HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2WebResourceResponse** response) override;
    HRESULT STDMETHODCALLTYPE put_Response(ICoreWebView2WebResourceResponse* response) override;
    HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;
    HRESULT STDMETHODCALLTYPE get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) override;

private:
    ComPtr<ICoreWebView2WebResourceRequest> FRequest;
    ComPtr<ICoreWebView2WebResourceResponse> FResponse;
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT FContext;
    TDeferralGate FGate;
};

} // namespace CrvWebView
