// The browser interfaces' binary layout: every method's vtable slot and every interface's IID as the
// browser's SDK has them. Both sides of the boundary are our own code in most tests, so a method out
// of place would go unnoticed anywhere else until a real browser called it.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "abi/WebView2.h"

namespace {

using namespace WebView2;

// The vtable slot of a virtual method. The C++ ABI of GCC and Clang stores a pointer to a virtual
// member function as one more than the byte offset of its vtable entry.
template <class M> std::ptrdiff_t SlotOf(M method) {
    static_assert(sizeof(M) == 2 * sizeof(std::ptrdiff_t));
    std::ptrdiff_t parts[2];
    std::memcpy(parts, &method, sizeof parts);
    return (parts[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

std::string IidText(const GUID& iid) {
    char text[40];
    std::snprintf(text, sizeof text, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x",
                  static_cast<unsigned>(iid.Data1), iid.Data2, iid.Data3, iid.Data4[0], iid.Data4[1],
                  iid.Data4[2], iid.Data4[3], iid.Data4[4], iid.Data4[5], iid.Data4[6], iid.Data4[7]);
    return text;
}

struct TSlot {
    const char* Method;
    std::ptrdiff_t Actual;
    std::ptrdiff_t Expected;
};

struct TIid {
    const char* Interface;
    std::string Actual;
    const char* Expected;
};

#define CRV_SLOT(I, M, N)                                                                                    \
    TSlot {                                                                                                  \
#I "::" #M, SlotOf(&I::M), N                                                                         \
    }
#define CRV_IID(I, G)                                                                                        \
    TIid {                                                                                                   \
#I, IidText(IID_##I), G                                                                              \
    }

TEST(WebView2Layout, EveryMethodSitsInItsSlot) {
    const TSlot slots[] = {
        CRV_SLOT(ICoreWebView2Environment, CreateCoreWebView2Controller, 3),
        CRV_SLOT(ICoreWebView2Environment, CreateWebResourceResponse, 4),
        CRV_SLOT(ICoreWebView2Environment, get_BrowserVersionString, 5),
        CRV_SLOT(ICoreWebView2Environment, add_NewBrowserVersionAvailable, 6),
        CRV_SLOT(ICoreWebView2Environment, remove_NewBrowserVersionAvailable, 7),
        CRV_SLOT(ICoreWebView2Controller, get_IsVisible, 3),
        CRV_SLOT(ICoreWebView2Controller, put_IsVisible, 4),
        CRV_SLOT(ICoreWebView2Controller, get_Bounds, 5),
        CRV_SLOT(ICoreWebView2Controller, put_Bounds, 6),
        CRV_SLOT(ICoreWebView2Controller, get_ZoomFactor, 7),
        CRV_SLOT(ICoreWebView2Controller, put_ZoomFactor, 8),
        CRV_SLOT(ICoreWebView2Controller, add_ZoomFactorChanged, 9),
        CRV_SLOT(ICoreWebView2Controller, remove_ZoomFactorChanged, 10),
        CRV_SLOT(ICoreWebView2Controller, SetBoundsAndZoomFactor, 11),
        CRV_SLOT(ICoreWebView2Controller, MoveFocus, 12),
        CRV_SLOT(ICoreWebView2Controller, add_MoveFocusRequested, 13),
        CRV_SLOT(ICoreWebView2Controller, remove_MoveFocusRequested, 14),
        CRV_SLOT(ICoreWebView2Controller, add_GotFocus, 15),
        CRV_SLOT(ICoreWebView2Controller, remove_GotFocus, 16),
        CRV_SLOT(ICoreWebView2Controller, add_LostFocus, 17),
        CRV_SLOT(ICoreWebView2Controller, remove_LostFocus, 18),
        CRV_SLOT(ICoreWebView2Controller, add_AcceleratorKeyPressed, 19),
        CRV_SLOT(ICoreWebView2Controller, remove_AcceleratorKeyPressed, 20),
        CRV_SLOT(ICoreWebView2Controller, get_ParentWindow, 21),
        CRV_SLOT(ICoreWebView2Controller, put_ParentWindow, 22),
        CRV_SLOT(ICoreWebView2Controller, NotifyParentWindowPositionChanged, 23),
        CRV_SLOT(ICoreWebView2Controller, Close, 24),
        CRV_SLOT(ICoreWebView2Controller, get_CoreWebView2, 25),
        CRV_SLOT(ICoreWebView2, get_Settings, 3),
        CRV_SLOT(ICoreWebView2, get_Source, 4),
        CRV_SLOT(ICoreWebView2, Navigate, 5),
        CRV_SLOT(ICoreWebView2, NavigateToString, 6),
        CRV_SLOT(ICoreWebView2, add_NavigationStarting, 7),
        CRV_SLOT(ICoreWebView2, remove_NavigationStarting, 8),
        CRV_SLOT(ICoreWebView2, add_ContentLoading, 9),
        CRV_SLOT(ICoreWebView2, remove_ContentLoading, 10),
        CRV_SLOT(ICoreWebView2, add_SourceChanged, 11),
        CRV_SLOT(ICoreWebView2, remove_SourceChanged, 12),
        CRV_SLOT(ICoreWebView2, add_HistoryChanged, 13),
        CRV_SLOT(ICoreWebView2, remove_HistoryChanged, 14),
        CRV_SLOT(ICoreWebView2, add_NavigationCompleted, 15),
        CRV_SLOT(ICoreWebView2, remove_NavigationCompleted, 16),
        CRV_SLOT(ICoreWebView2, add_FrameNavigationStarting, 17),
        CRV_SLOT(ICoreWebView2, remove_FrameNavigationStarting, 18),
        CRV_SLOT(ICoreWebView2, add_FrameNavigationCompleted, 19),
        CRV_SLOT(ICoreWebView2, remove_FrameNavigationCompleted, 20),
        CRV_SLOT(ICoreWebView2, add_ScriptDialogOpening, 21),
        CRV_SLOT(ICoreWebView2, remove_ScriptDialogOpening, 22),
        CRV_SLOT(ICoreWebView2, add_PermissionRequested, 23),
        CRV_SLOT(ICoreWebView2, remove_PermissionRequested, 24),
        CRV_SLOT(ICoreWebView2, add_ProcessFailed, 25),
        CRV_SLOT(ICoreWebView2, remove_ProcessFailed, 26),
        CRV_SLOT(ICoreWebView2, AddScriptToExecuteOnDocumentCreated, 27),
        CRV_SLOT(ICoreWebView2, RemoveScriptToExecuteOnDocumentCreated, 28),
        CRV_SLOT(ICoreWebView2, ExecuteScript, 29),
        CRV_SLOT(ICoreWebView2, CapturePreview, 30),
        CRV_SLOT(ICoreWebView2, Reload, 31),
        CRV_SLOT(ICoreWebView2, PostWebMessageAsJson, 32),
        CRV_SLOT(ICoreWebView2, PostWebMessageAsString, 33),
        CRV_SLOT(ICoreWebView2, add_WebMessageReceived, 34),
        CRV_SLOT(ICoreWebView2, remove_WebMessageReceived, 35),
        CRV_SLOT(ICoreWebView2, CallDevToolsProtocolMethod, 36),
        CRV_SLOT(ICoreWebView2, get_BrowserProcessId, 37),
        CRV_SLOT(ICoreWebView2, get_CanGoBack, 38),
        CRV_SLOT(ICoreWebView2, get_CanGoForward, 39),
        CRV_SLOT(ICoreWebView2, GoBack, 40),
        CRV_SLOT(ICoreWebView2, GoForward, 41),
        CRV_SLOT(ICoreWebView2, GetDevToolsProtocolEventReceiver, 42),
        CRV_SLOT(ICoreWebView2, Stop, 43),
        CRV_SLOT(ICoreWebView2, add_NewWindowRequested, 44),
        CRV_SLOT(ICoreWebView2, remove_NewWindowRequested, 45),
        CRV_SLOT(ICoreWebView2, add_DocumentTitleChanged, 46),
        CRV_SLOT(ICoreWebView2, remove_DocumentTitleChanged, 47),
        CRV_SLOT(ICoreWebView2, get_DocumentTitle, 48),
        CRV_SLOT(ICoreWebView2, AddHostObjectToScript, 49),
        CRV_SLOT(ICoreWebView2, RemoveHostObjectFromScript, 50),
        CRV_SLOT(ICoreWebView2, OpenDevToolsWindow, 51),
        CRV_SLOT(ICoreWebView2, add_ContainsFullScreenElementChanged, 52),
        CRV_SLOT(ICoreWebView2, remove_ContainsFullScreenElementChanged, 53),
        CRV_SLOT(ICoreWebView2, get_ContainsFullScreenElement, 54),
        CRV_SLOT(ICoreWebView2, add_WebResourceRequested, 55),
        CRV_SLOT(ICoreWebView2, remove_WebResourceRequested, 56),
        CRV_SLOT(ICoreWebView2, AddWebResourceRequestedFilter, 57),
        CRV_SLOT(ICoreWebView2, RemoveWebResourceRequestedFilter, 58),
        CRV_SLOT(ICoreWebView2, add_WindowCloseRequested, 59),
        CRV_SLOT(ICoreWebView2, remove_WindowCloseRequested, 60),
        CRV_SLOT(ICoreWebView2Settings, get_IsScriptEnabled, 3),
        CRV_SLOT(ICoreWebView2Settings, put_IsScriptEnabled, 4),
        CRV_SLOT(ICoreWebView2Settings, get_IsWebMessageEnabled, 5),
        CRV_SLOT(ICoreWebView2Settings, put_IsWebMessageEnabled, 6),
        CRV_SLOT(ICoreWebView2Settings, get_AreDefaultScriptDialogsEnabled, 7),
        CRV_SLOT(ICoreWebView2Settings, put_AreDefaultScriptDialogsEnabled, 8),
        CRV_SLOT(ICoreWebView2Settings, get_IsStatusBarEnabled, 9),
        CRV_SLOT(ICoreWebView2Settings, put_IsStatusBarEnabled, 10),
        CRV_SLOT(ICoreWebView2Settings, get_AreDevToolsEnabled, 11),
        CRV_SLOT(ICoreWebView2Settings, put_AreDevToolsEnabled, 12),
        CRV_SLOT(ICoreWebView2Settings, get_AreDefaultContextMenusEnabled, 13),
        CRV_SLOT(ICoreWebView2Settings, put_AreDefaultContextMenusEnabled, 14),
        CRV_SLOT(ICoreWebView2Settings, get_AreHostObjectsAllowed, 15),
        CRV_SLOT(ICoreWebView2Settings, put_AreHostObjectsAllowed, 16),
        CRV_SLOT(ICoreWebView2Settings, get_IsZoomControlEnabled, 17),
        CRV_SLOT(ICoreWebView2Settings, put_IsZoomControlEnabled, 18),
        CRV_SLOT(ICoreWebView2Settings, get_IsBuiltInErrorPageEnabled, 19),
        CRV_SLOT(ICoreWebView2Settings, put_IsBuiltInErrorPageEnabled, 20),
        CRV_SLOT(ICoreWebView2WebResourceRequestedEventArgs, get_Request, 3),
        CRV_SLOT(ICoreWebView2WebResourceRequestedEventArgs, get_Response, 4),
        CRV_SLOT(ICoreWebView2WebResourceRequestedEventArgs, put_Response, 5),
        CRV_SLOT(ICoreWebView2WebResourceRequestedEventArgs, GetDeferral, 6),
        CRV_SLOT(ICoreWebView2WebResourceRequestedEventArgs, get_ResourceContext, 7),
        CRV_SLOT(ICoreWebView2WebResourceRequest, get_Uri, 3),
        CRV_SLOT(ICoreWebView2WebResourceRequest, put_Uri, 4),
        CRV_SLOT(ICoreWebView2WebResourceRequest, get_Method, 5),
        CRV_SLOT(ICoreWebView2WebResourceRequest, put_Method, 6),
        CRV_SLOT(ICoreWebView2WebResourceRequest, get_Content, 7),
        CRV_SLOT(ICoreWebView2WebResourceRequest, put_Content, 8),
        CRV_SLOT(ICoreWebView2WebResourceRequest, get_Headers, 9),
        CRV_SLOT(ICoreWebView2WebResourceResponse, get_Content, 3),
        CRV_SLOT(ICoreWebView2WebResourceResponse, put_Content, 4),
        CRV_SLOT(ICoreWebView2WebResourceResponse, get_Headers, 5),
        CRV_SLOT(ICoreWebView2WebResourceResponse, get_StatusCode, 6),
        CRV_SLOT(ICoreWebView2WebResourceResponse, put_StatusCode, 7),
        CRV_SLOT(ICoreWebView2WebResourceResponse, get_ReasonPhrase, 8),
        CRV_SLOT(ICoreWebView2WebResourceResponse, put_ReasonPhrase, 9),
        CRV_SLOT(ICoreWebView2HttpRequestHeaders, GetHeader, 3),
        CRV_SLOT(ICoreWebView2HttpRequestHeaders, GetHeaders, 4),
        CRV_SLOT(ICoreWebView2HttpRequestHeaders, Contains, 5),
        CRV_SLOT(ICoreWebView2HttpRequestHeaders, SetHeader, 6),
        CRV_SLOT(ICoreWebView2HttpRequestHeaders, RemoveHeader, 7),
        CRV_SLOT(ICoreWebView2HttpRequestHeaders, GetIterator, 8),
        CRV_SLOT(ICoreWebView2HttpResponseHeaders, AppendHeader, 3),
        CRV_SLOT(ICoreWebView2HttpResponseHeaders, Contains, 4),
        CRV_SLOT(ICoreWebView2HttpResponseHeaders, GetHeader, 5),
        CRV_SLOT(ICoreWebView2HttpResponseHeaders, GetHeaders, 6),
        CRV_SLOT(ICoreWebView2HttpResponseHeaders, GetIterator, 7),
        CRV_SLOT(ICoreWebView2HttpHeadersCollectionIterator, GetCurrentHeader, 3),
        CRV_SLOT(ICoreWebView2HttpHeadersCollectionIterator, get_HasCurrentHeader, 4),
        CRV_SLOT(ICoreWebView2HttpHeadersCollectionIterator, MoveNext, 5),
        CRV_SLOT(ICoreWebView2NewWindowRequestedEventArgs, get_Uri, 3),
        CRV_SLOT(ICoreWebView2NewWindowRequestedEventArgs, put_NewWindow, 4),
        CRV_SLOT(ICoreWebView2NewWindowRequestedEventArgs, get_NewWindow, 5),
        CRV_SLOT(ICoreWebView2NewWindowRequestedEventArgs, put_Handled, 6),
        CRV_SLOT(ICoreWebView2NewWindowRequestedEventArgs, get_Handled, 7),
        CRV_SLOT(ICoreWebView2NewWindowRequestedEventArgs, get_IsUserInitiated, 8),
        CRV_SLOT(ICoreWebView2NewWindowRequestedEventArgs, GetDeferral, 9),
        CRV_SLOT(ICoreWebView2NewWindowRequestedEventArgs, get_WindowFeatures, 10),
        CRV_SLOT(ICoreWebView2WindowFeatures, get_HasPosition, 3),
        CRV_SLOT(ICoreWebView2WindowFeatures, get_HasSize, 4),
        CRV_SLOT(ICoreWebView2WindowFeatures, get_Left, 5),
        CRV_SLOT(ICoreWebView2WindowFeatures, get_Top, 6),
        CRV_SLOT(ICoreWebView2WindowFeatures, get_Height, 7),
        CRV_SLOT(ICoreWebView2WindowFeatures, get_Width, 8),
        CRV_SLOT(ICoreWebView2WindowFeatures, get_ShouldDisplayMenuBar, 9),
        CRV_SLOT(ICoreWebView2WindowFeatures, get_ShouldDisplayStatus, 10),
        CRV_SLOT(ICoreWebView2WindowFeatures, get_ShouldDisplayToolbar, 11),
        CRV_SLOT(ICoreWebView2WindowFeatures, get_ShouldDisplayScrollBars, 12),
        CRV_SLOT(ICoreWebView2PermissionRequestedEventArgs, get_Uri, 3),
        CRV_SLOT(ICoreWebView2PermissionRequestedEventArgs, get_PermissionKind, 4),
        CRV_SLOT(ICoreWebView2PermissionRequestedEventArgs, get_IsUserInitiated, 5),
        CRV_SLOT(ICoreWebView2PermissionRequestedEventArgs, get_State, 6),
        CRV_SLOT(ICoreWebView2PermissionRequestedEventArgs, put_State, 7),
        CRV_SLOT(ICoreWebView2PermissionRequestedEventArgs, GetDeferral, 8),
        CRV_SLOT(ICoreWebView2AcceleratorKeyPressedEventArgs, get_KeyEventKind, 3),
        CRV_SLOT(ICoreWebView2AcceleratorKeyPressedEventArgs, get_VirtualKey, 4),
        CRV_SLOT(ICoreWebView2AcceleratorKeyPressedEventArgs, get_KeyEventLParam, 5),
        CRV_SLOT(ICoreWebView2AcceleratorKeyPressedEventArgs, get_PhysicalKeyStatus, 6),
        CRV_SLOT(ICoreWebView2AcceleratorKeyPressedEventArgs, get_Handled, 7),
        CRV_SLOT(ICoreWebView2AcceleratorKeyPressedEventArgs, put_Handled, 8),
        CRV_SLOT(ICoreWebView2WebMessageReceivedEventArgs, get_Source, 3),
        CRV_SLOT(ICoreWebView2WebMessageReceivedEventArgs, get_WebMessageAsJson, 4),
        CRV_SLOT(ICoreWebView2WebMessageReceivedEventArgs, TryGetWebMessageAsString, 5),
        CRV_SLOT(ICoreWebView2NavigationStartingEventArgs, get_Uri, 3),
        CRV_SLOT(ICoreWebView2NavigationStartingEventArgs, get_IsUserInitiated, 4),
        CRV_SLOT(ICoreWebView2NavigationStartingEventArgs, get_IsRedirected, 5),
        CRV_SLOT(ICoreWebView2NavigationStartingEventArgs, get_RequestHeaders, 6),
        CRV_SLOT(ICoreWebView2NavigationStartingEventArgs, get_Cancel, 7),
        CRV_SLOT(ICoreWebView2NavigationStartingEventArgs, put_Cancel, 8),
        CRV_SLOT(ICoreWebView2NavigationStartingEventArgs, get_NavigationId, 9),
        CRV_SLOT(ICoreWebView2NavigationCompletedEventArgs, get_IsSuccess, 3),
        CRV_SLOT(ICoreWebView2NavigationCompletedEventArgs, get_WebErrorStatus, 4),
        CRV_SLOT(ICoreWebView2NavigationCompletedEventArgs, get_NavigationId, 5),
        CRV_SLOT(ICoreWebView2SourceChangedEventArgs, get_IsNewDocument, 3),
        CRV_SLOT(ICoreWebView2ContentLoadingEventArgs, get_IsErrorPage, 3),
        CRV_SLOT(ICoreWebView2ContentLoadingEventArgs, get_NavigationId, 4),
        CRV_SLOT(ICoreWebView2ProcessFailedEventArgs, get_ProcessFailedKind, 3),
        CRV_SLOT(ICoreWebView2ScriptDialogOpeningEventArgs, get_Uri, 3),
        CRV_SLOT(ICoreWebView2ScriptDialogOpeningEventArgs, get_Kind, 4),
        CRV_SLOT(ICoreWebView2ScriptDialogOpeningEventArgs, get_Message, 5),
        CRV_SLOT(ICoreWebView2ScriptDialogOpeningEventArgs, Accept, 6),
        CRV_SLOT(ICoreWebView2ScriptDialogOpeningEventArgs, get_DefaultText, 7),
        CRV_SLOT(ICoreWebView2ScriptDialogOpeningEventArgs, get_ResultText, 8),
        CRV_SLOT(ICoreWebView2ScriptDialogOpeningEventArgs, put_ResultText, 9),
        CRV_SLOT(ICoreWebView2ScriptDialogOpeningEventArgs, GetDeferral, 10),
        CRV_SLOT(ICoreWebView2MoveFocusRequestedEventArgs, get_Reason, 3),
        CRV_SLOT(ICoreWebView2MoveFocusRequestedEventArgs, get_Handled, 4),
        CRV_SLOT(ICoreWebView2MoveFocusRequestedEventArgs, put_Handled, 5),
        CRV_SLOT(ICoreWebView2DevToolsProtocolEventReceiver, add_DevToolsProtocolEventReceived, 3),
        CRV_SLOT(ICoreWebView2DevToolsProtocolEventReceiver, remove_DevToolsProtocolEventReceived, 4),
        CRV_SLOT(ICoreWebView2DevToolsProtocolEventReceivedEventArgs, get_ParameterObjectAsJson, 3),
        CRV_SLOT(ICoreWebView2Deferral, Complete, 3),
        CRV_SLOT(ICoreWebView2EnvironmentOptions, get_AdditionalBrowserArguments, 3),
        CRV_SLOT(ICoreWebView2EnvironmentOptions, put_AdditionalBrowserArguments, 4),
        CRV_SLOT(ICoreWebView2EnvironmentOptions, get_Language, 5),
        CRV_SLOT(ICoreWebView2EnvironmentOptions, put_Language, 6),
        CRV_SLOT(ICoreWebView2EnvironmentOptions, get_TargetCompatibleBrowserVersion, 7),
        CRV_SLOT(ICoreWebView2EnvironmentOptions, put_TargetCompatibleBrowserVersion, 8),
        CRV_SLOT(ICoreWebView2EnvironmentOptions, get_AllowSingleSignOnUsingOSPrimaryAccount, 9),
        CRV_SLOT(ICoreWebView2EnvironmentOptions, put_AllowSingleSignOnUsingOSPrimaryAccount, 10),
        CRV_SLOT(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2ExecuteScriptCompletedHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2CapturePreviewCompletedHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2CallDevToolsProtocolMethodCompletedHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2NavigationStartingEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2NavigationCompletedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2SourceChangedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2HistoryChangedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2ContentLoadingEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2DocumentTitleChangedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2NewWindowRequestedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2WebResourceRequestedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2ScriptDialogOpeningEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2PermissionRequestedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2ProcessFailedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2WebMessageReceivedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2ContainsFullScreenElementChangedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2WindowCloseRequestedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2ZoomFactorChangedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2MoveFocusRequestedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2AcceleratorKeyPressedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2FocusChangedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2DevToolsProtocolEventReceivedEventHandler, Invoke, 3),
        CRV_SLOT(ICoreWebView2NewBrowserVersionAvailableEventHandler, Invoke, 3),
    };
    for (const TSlot& slot : slots)
        EXPECT_EQ(slot.Actual, slot.Expected) << slot.Method;
}

TEST(WebView2Layout, EveryInterfaceHasItsIid) {
    const TIid iids[] = {
        CRV_IID(ICoreWebView2Environment, "b96d755e-0319-4e92-a296-23436f46a1fc"),
        CRV_IID(ICoreWebView2Controller, "4d00c0d1-9434-4eb6-8078-8697a560334f"),
        CRV_IID(ICoreWebView2, "76eceacb-0462-4d94-ac83-423a6793775e"),
        CRV_IID(ICoreWebView2Settings, "e562e4f0-d7fa-43ac-8d71-c05150499f00"),
        CRV_IID(ICoreWebView2WebResourceRequestedEventArgs, "453e667f-12c7-49d4-be6d-ddbe7956f57a"),
        CRV_IID(ICoreWebView2WebResourceRequest, "97055cd4-512c-4264-8b5f-e3f446cea6a5"),
        CRV_IID(ICoreWebView2WebResourceResponse, "aafcc94f-fa27-48fd-97df-830ef75aaec9"),
        CRV_IID(ICoreWebView2HttpRequestHeaders, "e86cac0e-5523-465c-b536-8fb9fc8c8c60"),
        CRV_IID(ICoreWebView2HttpResponseHeaders, "03c5ff5a-9b45-4a88-881c-89a9f328619c"),
        CRV_IID(ICoreWebView2HttpHeadersCollectionIterator, "0702fc30-f43b-47bb-ab52-a42cb552ad9f"),
        CRV_IID(ICoreWebView2NewWindowRequestedEventArgs, "34acb11c-fc37-4418-9132-f9c21d1eafb9"),
        CRV_IID(ICoreWebView2WindowFeatures, "5eaf559f-b46e-4397-8860-e422f287ff1e"),
        CRV_IID(ICoreWebView2PermissionRequestedEventArgs, "973ae2ef-ff18-4894-8fb2-3c758f046810"),
        CRV_IID(ICoreWebView2AcceleratorKeyPressedEventArgs, "9f760f8a-fb79-42be-9990-7b56900fa9c7"),
        CRV_IID(ICoreWebView2WebMessageReceivedEventArgs, "0f99a40c-e962-4207-9e92-e3d542eff849"),
        CRV_IID(ICoreWebView2NavigationStartingEventArgs, "5b495469-e119-438a-9b18-7604f25f2e49"),
        CRV_IID(ICoreWebView2NavigationCompletedEventArgs, "30d68b7d-20d9-4752-a9ca-ec8448fbb5c1"),
        CRV_IID(ICoreWebView2SourceChangedEventArgs, "31e0e545-1dba-4266-8914-f63848a1f7d7"),
        CRV_IID(ICoreWebView2ContentLoadingEventArgs, "0c8a1275-9b6b-4901-87ad-70df25bafa6e"),
        CRV_IID(ICoreWebView2ProcessFailedEventArgs, "8155a9a4-1474-4a86-8cae-151b0fa6b8ca"),
        CRV_IID(ICoreWebView2ScriptDialogOpeningEventArgs, "7390bb70-abe0-4843-9529-f143b31b03d6"),
        CRV_IID(ICoreWebView2MoveFocusRequestedEventArgs, "2d6aa13b-3839-4a15-92fc-d88b3c0d9c9d"),
        CRV_IID(ICoreWebView2DevToolsProtocolEventReceiver, "b32ca51a-8371-45e9-9317-af021d080367"),
        CRV_IID(ICoreWebView2DevToolsProtocolEventReceivedEventArgs, "653c2959-bb3a-4377-8632-b58ada4e66c4"),
        CRV_IID(ICoreWebView2Deferral, "c10e7f7b-b585-46f0-a623-8befbf3e4ee0"),
        CRV_IID(ICoreWebView2EnvironmentOptions, "2fde08a8-1e9a-4766-8c05-95a9ceb9d1c5"),
        CRV_IID(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                "4e8a3389-c9d8-4bd2-b6b5-124fee6cc14d"),
        CRV_IID(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                "6c4819f3-c9b7-4260-8127-c9f5bde7f68c"),
        CRV_IID(ICoreWebView2ExecuteScriptCompletedHandler, "49511172-cc67-4bca-9923-137112f4c4cc"),
        CRV_IID(ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler,
                "b99369f3-9b11-47b5-bc6f-8e7895fcea17"),
        CRV_IID(ICoreWebView2CapturePreviewCompletedHandler, "697e05e9-3d8f-45fa-96f4-8ffe1ededaf5"),
        CRV_IID(ICoreWebView2CallDevToolsProtocolMethodCompletedHandler,
                "5c4889f0-5ef6-4c5a-952c-d8f1b92d0574"),
        CRV_IID(ICoreWebView2NavigationStartingEventHandler, "9adbe429-f36d-432b-9ddc-f8881fbd76e3"),
        CRV_IID(ICoreWebView2NavigationCompletedEventHandler, "d33a35bf-1c49-4f98-93ab-006e0533fe1c"),
        CRV_IID(ICoreWebView2SourceChangedEventHandler, "3c067f9f-5388-4772-8b48-79f7ef1ab37c"),
        CRV_IID(ICoreWebView2HistoryChangedEventHandler, "c79a420c-efd9-4058-9295-3e8b4bcab645"),
        CRV_IID(ICoreWebView2ContentLoadingEventHandler, "364471e7-f2be-4910-bdba-d72077d51c4b"),
        CRV_IID(ICoreWebView2DocumentTitleChangedEventHandler, "f5f2b923-953e-4042-9f95-f3a118e1afd4"),
        CRV_IID(ICoreWebView2NewWindowRequestedEventHandler, "d4c185fe-c81c-4989-97af-2d3fa7ab5651"),
        CRV_IID(ICoreWebView2WebResourceRequestedEventHandler, "ab00b74c-15f1-4646-80e8-e76341d25d71"),
        CRV_IID(ICoreWebView2ScriptDialogOpeningEventHandler, "ef381bf9-afa8-4e37-91c4-8ac48524bdfb"),
        CRV_IID(ICoreWebView2PermissionRequestedEventHandler, "15e1c6a3-c72a-4df3-91d7-d097fbec6bfd"),
        CRV_IID(ICoreWebView2ProcessFailedEventHandler, "79e0aea4-990b-42d9-aa1d-0fcc2e5bc7f1"),
        CRV_IID(ICoreWebView2WebMessageReceivedEventHandler, "57213f19-00e6-49fa-8e07-898ea01ecbd2"),
        CRV_IID(ICoreWebView2ContainsFullScreenElementChangedEventHandler,
                "e45d98b1-afef-45be-8baf-6c7728867f73"),
        CRV_IID(ICoreWebView2WindowCloseRequestedEventHandler, "5c19e9e0-092f-486b-affa-ca8231913039"),
        CRV_IID(ICoreWebView2ZoomFactorChangedEventHandler, "b52d71d6-c4df-4543-a90c-64a3e60f38cb"),
        CRV_IID(ICoreWebView2MoveFocusRequestedEventHandler, "69035451-6dc7-4cb8-9bce-b2bd70ad289f"),
        CRV_IID(ICoreWebView2AcceleratorKeyPressedEventHandler, "b29c7e28-fa79-41a8-8e44-65811c76dcb2"),
        CRV_IID(ICoreWebView2FocusChangedEventHandler, "05ea24bd-6452-4926-9014-4b82b498135d"),
        CRV_IID(ICoreWebView2DevToolsProtocolEventReceivedEventHandler,
                "e2fda4be-5456-406c-a261-3d452138362c"),
        CRV_IID(ICoreWebView2NewBrowserVersionAvailableEventHandler, "f9a2976e-d34e-44fc-adee-81b6b57ca914"),
    };
    for (const TIid& iid : iids)
        EXPECT_EQ(iid.Actual, iid.Expected) << iid.Interface;
}

TEST(WebView2Layout, StructuresHaveTheirSize) {
    EXPECT_EQ(sizeof(EventRegistrationToken), 8u);
    EXPECT_EQ(sizeof(COREWEBVIEW2_PHYSICAL_KEY_STATUS), 24u);
    EXPECT_EQ(offsetof(COREWEBVIEW2_PHYSICAL_KEY_STATUS, IsKeyReleased), 20u);
    EXPECT_EQ(sizeof(COREWEBVIEW2_WEB_RESOURCE_CONTEXT), 4u);
}

} // namespace
