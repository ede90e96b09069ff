// The argument objects of the web view's and the controller's events.
#include "webview/EventArgs.h"

#include "webview/Text.h"

namespace CrvWebView {

namespace {

template <class T> HRESULT Out(T value, T* out) {
    if (!out) return E_POINTER;
    *out = value;
    return S_OK;
}

HRESULT OutBool(bool value, BOOL* out) {
    return Out<BOOL>(value ? TRUE : FALSE, out);
}

} // namespace

// Navigation

HRESULT TNavigationStartingArgs::get_Uri(LPWSTR* uri) {
    return OutString(FUri, uri);
}
HRESULT TNavigationStartingArgs::get_IsUserInitiated(BOOL* value) {
    return OutBool(FUserInitiated, value);
}
HRESULT TNavigationStartingArgs::get_IsRedirected(BOOL* value) {
    return OutBool(FRedirected, value);
}
HRESULT TNavigationStartingArgs::get_RequestHeaders(ICoreWebView2HttpRequestHeaders** headers) {
    if (!headers) return E_POINTER;
    *headers = new THttpHeaders();
    return S_OK;
}
HRESULT TNavigationStartingArgs::get_Cancel(BOOL* cancel) {
    return OutBool(FCancel, cancel);
}
HRESULT TNavigationStartingArgs::put_Cancel(BOOL cancel) {
    FCancel = cancel != FALSE;
    return S_OK;
}
HRESULT TNavigationStartingArgs::get_NavigationId(UINT64* id) {
    return Out(FNavigationId, id);
}

HRESULT TNavigationCompletedArgs::get_IsSuccess(BOOL* value) {
    return OutBool(FSuccess, value);
}
HRESULT TNavigationCompletedArgs::get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* value) {
    return Out(FStatus, value);
}
HRESULT TNavigationCompletedArgs::get_NavigationId(UINT64* id) {
    return Out(FNavigationId, id);
}

HRESULT TSourceChangedArgs::get_IsNewDocument(BOOL* value) {
    return OutBool(FNewDocument, value);
}

HRESULT TContentLoadingArgs::get_IsErrorPage(BOOL* value) {
    return OutBool(FErrorPage, value);
}
HRESULT TContentLoadingArgs::get_NavigationId(UINT64* value) {
    return Out(FNavigationId, value);
}

HRESULT TProcessFailedArgs::get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* value) {
    return Out(FKind, value);
}

// New windows

HRESULT TNewWindowRequestedArgs::get_Uri(LPWSTR* uri) {
    return OutString(FUri, uri);
}
HRESULT TNewWindowRequestedArgs::put_NewWindow(ICoreWebView2*) {
    // The browser makes a popup's view itself, related to its opener; a host's view cannot take its place.
    return E_NOTIMPL;
}
HRESULT TNewWindowRequestedArgs::get_NewWindow(ICoreWebView2** newWindow) {
    return Out<ICoreWebView2*>(nullptr, newWindow);
}
HRESULT TNewWindowRequestedArgs::put_Handled(BOOL handled) {
    FHandled = handled != FALSE;
    return S_OK;
}
HRESULT TNewWindowRequestedArgs::get_Handled(BOOL* handled) {
    return OutBool(FHandled, handled);
}
HRESULT TNewWindowRequestedArgs::get_IsUserInitiated(BOOL* value) {
    return OutBool(FUserInitiated, value);
}
HRESULT TNewWindowRequestedArgs::GetDeferral(ICoreWebView2Deferral** deferral) {
    // The browser wants the answer before the handler returns: completing later changes nothing.
    if (!deferral) return E_POINTER;
    *deferral = new TDeferral([] {});
    return S_OK;
}
HRESULT TNewWindowRequestedArgs::get_WindowFeatures(ICoreWebView2WindowFeatures** value) {
    if (value) *value = nullptr;
    return E_NOTIMPL;
}

// Permissions

TPermissionRequestedArgs::TPermissionRequestedArgs(std::string uri, COREWEBVIEW2_PERMISSION_KIND kind,
                                                   bool userInitiated,
                                                   std::function<void(COREWEBVIEW2_PERMISSION_STATE)> outcome)
    : FUri(std::move(uri)), FKind(kind), FUserInitiated(userInitiated),
      FGate([this, outcome = std::move(outcome)] { outcome(FState); }) {}

HRESULT TPermissionRequestedArgs::get_Uri(LPWSTR* uri) {
    return OutString(FUri, uri);
}
HRESULT TPermissionRequestedArgs::get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* value) {
    return Out(FKind, value);
}
HRESULT TPermissionRequestedArgs::get_IsUserInitiated(BOOL* value) {
    return OutBool(FUserInitiated, value);
}
HRESULT TPermissionRequestedArgs::get_State(COREWEBVIEW2_PERMISSION_STATE* state) {
    return Out(FState, state);
}
HRESULT TPermissionRequestedArgs::put_State(COREWEBVIEW2_PERMISSION_STATE state) {
    if (state < COREWEBVIEW2_PERMISSION_STATE_DEFAULT || state > COREWEBVIEW2_PERMISSION_STATE_DENY)
        return E_INVALIDARG;
    FState = state;
    return S_OK;
}
HRESULT TPermissionRequestedArgs::GetDeferral(ICoreWebView2Deferral** deferral) {
    if (!deferral) return E_POINTER;
    *deferral = FGate.Take(static_cast<ICoreWebView2PermissionRequestedEventArgs*>(this));
    return S_OK;
}

// Script dialogs

TScriptDialogOpeningArgs::TScriptDialogOpeningArgs(std::string uri, COREWEBVIEW2_SCRIPT_DIALOG_KIND kind,
                                                   std::string message, std::string defaultText,
                                                   std::function<void(bool, const std::string&)> outcome)
    : FUri(std::move(uri)), FKind(kind), FMessage(std::move(message)), FDefaultText(std::move(defaultText)),
      FGate([this, outcome = std::move(outcome)] { outcome(FAccepted, FResultText); }) {}

HRESULT TScriptDialogOpeningArgs::get_Uri(LPWSTR* uri) {
    return OutString(FUri, uri);
}
HRESULT TScriptDialogOpeningArgs::get_Kind(COREWEBVIEW2_SCRIPT_DIALOG_KIND* kind) {
    return Out(FKind, kind);
}
HRESULT TScriptDialogOpeningArgs::get_Message(LPWSTR* message) {
    return OutString(FMessage, message);
}
HRESULT TScriptDialogOpeningArgs::Accept() {
    FAccepted = true;
    return S_OK;
}
HRESULT TScriptDialogOpeningArgs::get_DefaultText(LPWSTR* text) {
    return OutString(FDefaultText, text);
}
HRESULT TScriptDialogOpeningArgs::get_ResultText(LPWSTR* text) {
    return OutString(FResultText, text);
}
HRESULT TScriptDialogOpeningArgs::put_ResultText(LPCWSTR text) {
    if (!text) return E_POINTER;
    FResultText = ToUtf8(text);
    return S_OK;
}
HRESULT TScriptDialogOpeningArgs::GetDeferral(ICoreWebView2Deferral** deferral) {
    if (!deferral) return E_POINTER;
    *deferral = FGate.Take(static_cast<ICoreWebView2ScriptDialogOpeningEventArgs*>(this));
    return S_OK;
}

// Web messages

HRESULT TWebMessageReceivedArgs::get_Source(LPWSTR* value) {
    return OutString(FSource, value);
}
HRESULT TWebMessageReceivedArgs::get_WebMessageAsJson(LPWSTR* value) {
    return OutString(FJson, value);
}
HRESULT TWebMessageReceivedArgs::TryGetWebMessageAsString(LPWSTR* value) {
    if (!value) return E_POINTER;
    std::string text;
    if (!DecodeJsonString(FJson, text)) {
        *value = nullptr;
        return E_INVALIDARG;
    }
    return OutString(text, value);
}

// Keys and focus

HRESULT TAcceleratorKeyPressedArgs::get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* kind) {
    return Out(FKey.Kind, kind);
}
HRESULT TAcceleratorKeyPressedArgs::get_VirtualKey(UINT* key) {
    return Out(FKey.VirtualKey, key);
}
HRESULT TAcceleratorKeyPressedArgs::get_KeyEventLParam(INT* lParam) {
    return Out(FKey.LParam, lParam);
}
HRESULT TAcceleratorKeyPressedArgs::get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* status) {
    return Out(FKey.Status, status);
}
HRESULT TAcceleratorKeyPressedArgs::get_Handled(BOOL* handled) {
    return OutBool(FHandled, handled);
}
HRESULT TAcceleratorKeyPressedArgs::put_Handled(BOOL handled) {
    FHandled = handled != FALSE;
    return S_OK;
}

HRESULT TMoveFocusRequestedArgs::get_Reason(COREWEBVIEW2_MOVE_FOCUS_REASON* reason) {
    return Out(FReason, reason);
}
HRESULT TMoveFocusRequestedArgs::get_Handled(BOOL* value) {
    return OutBool(FHandled, value);
}
HRESULT TMoveFocusRequestedArgs::put_Handled(BOOL value) {
    FHandled = value != FALSE;
    return S_OK;
}

// Resource requests

TWebResourceRequestedArgs::TWebResourceRequestedArgs(
    ICoreWebView2WebResourceRequest* request, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
    std::function<void(ICoreWebView2WebResourceRequest*, ICoreWebView2WebResourceResponse*)> outcome)
    : FRequest(request), FContext(context),
      FGate([this, outcome = std::move(outcome)] { outcome(FRequest.Get(), FResponse.Get()); }) {}

HRESULT TWebResourceRequestedArgs::get_Request(ICoreWebView2WebResourceRequest** request) {
    if (!request) return E_POINTER;
    *request = FRequest.Get();
    if (*request) (*request)->AddRef();
    return S_OK;
}
HRESULT TWebResourceRequestedArgs::get_Response(ICoreWebView2WebResourceResponse** response) {
    if (!response) return E_POINTER;
    *response = FResponse.Get();
    if (*response) (*response)->AddRef();
    return S_OK;
}
HRESULT TWebResourceRequestedArgs::put_Response(ICoreWebView2WebResourceResponse* response) {
    FResponse = ComPtr<ICoreWebView2WebResourceResponse>(response);
    return S_OK;
}
HRESULT TWebResourceRequestedArgs::GetDeferral(ICoreWebView2Deferral** deferral) {
    if (!deferral) return E_POINTER;
    *deferral = FGate.Take(static_cast<ICoreWebView2WebResourceRequestedEventArgs*>(this));
    return S_OK;
}
HRESULT TWebResourceRequestedArgs::get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) {
    return Out(FContext, context);
}

} // namespace CrvWebView
