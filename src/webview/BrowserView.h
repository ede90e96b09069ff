// One browser view inside a host's container: the object behind both the controller and the web view
// interfaces. Its methods are spread over files by concern (controller, navigation, scripts, messages,
// resources, keys, page requests, new windows, capture).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <webkit2/webkit2.h>

#include "abi/ComObject.h"
#include "abi/ComPtr.h"
#include "webview/BrowserContext.h"
#include "webview/EventList.h"
#include "webview/Settings.h"

namespace CrvWebView {

using namespace WebView2;

class TStatusBubble;

class TBrowserView final : public TComObject<ICoreWebView2Controller, ICoreWebView2> {
public:
    // A new view put into parent, a GtkLayout, with one reference for the caller.
    static TBrowserView* Create(ICoreWebView2Environment* environment, WebKitWebContext* context,
                                const TEnvironmentOptions& options, GtkWidget* parent);
    // The view object behind one of our browser widgets; null for views that are not a host's (popups).
    static TBrowserView* FromWidget(WebKitWebView* view);

    // ICoreWebView2Controller (ControllerMethods.cpp)
    HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* isVisible) override;
    HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) override;
    HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override;
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override;
    HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoomFactor) override;
    HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) override;
    HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler* handler,
                                                    EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) override;
    HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) override;
    HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_GotFocus(ICoreWebView2FocusChangedEventHandler* handler,
                                           EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_LostFocus(ICoreWebView2FocusChangedEventHandler* handler,
                                            EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(
        ICoreWebView2AcceleratorKeyPressedEventHandler* handler, EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parentWindow) override;
    HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parentWindow) override;
    HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override;
    HRESULT STDMETHODCALLTYPE Close() override;
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** coreWebView2) override;

    // ICoreWebView2: navigation and state (Navigation.cpp)
    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override;
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override;
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) override;
    HRESULT STDMETHODCALLTYPE Reload() override;
    HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* canGoBack) override;
    HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* canGoForward) override;
    HRESULT STDMETHODCALLTYPE GoBack() override;
    HRESULT STDMETHODCALLTYPE GoForward() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override;
    HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) override;
    HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* value) override;

    // Scripts (DocumentScripts.cpp) and messages (MessageChannel.cpp)
    HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
        LPCWSTR javaScript,
        ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) override;
    HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR javaScript,
                                            ICoreWebView2ExecuteScriptCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) override;
    HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) override;

    // Capture (Capture.cpp), developer tools and host objects (PageRequests.cpp)
    HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat,
                                             IStream* imageStream,
                                             ICoreWebView2CapturePreviewCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE
    CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson,
                               ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(
        LPCWSTR eventName, ICoreWebView2DevToolsProtocolEventReceiver** receiver) override;
    HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() override;
    HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) override;
    HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) override;

    // Resource filters (ResourceRequests.cpp)
    HRESULT STDMETHODCALLTYPE
    AddWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) override;
    HRESULT STDMETHODCALLTYPE
    RemoveWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) override;

    // Event registrations (BrowserView.cpp)
    HRESULT STDMETHODCALLTYPE add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                                     EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* handler,
                                                 EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_SourceChanged(ICoreWebView2SourceChangedEventHandler* handler,
                                                EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler* handler,
                                                 EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                                      EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(
        ICoreWebView2NavigationStartingEventHandler* handler, EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(
        ICoreWebView2NavigationCompletedEventHandler* handler, EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler* handler,
                                                      EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* handler,
                                                      EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* handler,
                                                EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* handler,
                                                       EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE
    add_ContainsFullScreenElementChanged(ICoreWebView2ContainsFullScreenElementChangedEventHandler* handler,
                                         EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* handler,
                                                       EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler* handler,
                                                       EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) override;

    // A request of the private scheme made by this view (ResourceRequests.cpp).
    void ServeRequest(WebKitURISchemeRequest* request);

private:
    TBrowserView(ICoreWebView2Environment* environment, const TEnvironmentOptions& options);
    ~TBrowserView() override;

    ICoreWebView2Controller* AsController() { return this; }
    ICoreWebView2* AsWebView() { return this; }
    // Ends the view: handlers go, the widget is destroyed, later calls answer HRESULT_INVALID_STATE.
    void Shutdown();

    // Signal wiring, one function per concern.
    void ConnectControllerSignals();  // ControllerMethods.cpp
    void ConnectNavigationSignals();  // Navigation.cpp
    void ConnectMessageChannel();     // MessageChannel.cpp
    void ConnectKeySignals();         // KeyEvents.cpp
    void ConnectPageRequestSignals(); // PageRequests.cpp
    void ConnectNewWindowSignals();   // NewWindows.cpp

    // Navigation.cpp
    static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType, gpointer);
    static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent, gpointer);
    static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer);
    static gboolean OnLoadFailedWithTlsErrors(WebKitWebView*, gchar*, GTlsCertificate*, GTlsCertificateFlags,
                                              gpointer);
    static void OnUriChanged(GObject*, GParamSpec*, gpointer);
    static void OnTitleChanged(GObject*, GParamSpec*, gpointer);
    static void OnHistoryListChanged(WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer, gpointer);
    void LoadStarted(bool redirected);
    void LoadCommitted();
    void LoadFinished();
    void RaiseSourceChanged(bool newDocument);
    void RaiseTitleChanged();
    void SettleTitle();
    void LoadInBrowser(const std::string& hostUri);

    // MessageChannel.cpp
    static gboolean OnPageMessage(WebKitUserContentManager*, JSCValue*, WebKitScriptMessageReply*, gpointer);
    void WebMessage(const std::string& text, WebKitScriptMessageReply* reply);
    void RaiseWebMessage(const std::string& text);
    void FrameMessage(char kind, const std::string& uri);
    void QueueForPage(const std::string& json);
    void FlushToPage();
    void Answer(WebKitScriptMessageReply* reply);

    // KeyEvents.cpp
    static gboolean OnKeyEvent(GtkWidget*, GdkEventKey*, gpointer);
    static gboolean OnScroll(GtkWidget*, GdkEventScroll*, gpointer);
    bool BuiltInKey(const GdkEventKey* event);
    void ZoomBy(double factor);

    // ControllerMethods.cpp
    static gboolean OnFocusIn(GtkWidget*, GdkEvent*, gpointer);
    static gboolean OnFocusOut(GtkWidget*, GdkEvent*, gpointer);
    static void OnZoomChanged(GObject*, GParamSpec*, gpointer);
    void ApplyBounds();

    // PageRequests.cpp
    static gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog*, gpointer);
    static gboolean OnPermissionRequest(WebKitWebView*, WebKitPermissionRequest*, gpointer);
    static gboolean OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*,
                                  gpointer);
    static gboolean OnEnterFullScreen(WebKitWebView*, gpointer);
    static gboolean OnLeaveFullScreen(WebKitWebView*, gpointer);
    static void OnProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason, gpointer);
    static void OnResponsiveChanged(GObject*, GParamSpec*, gpointer);
    static void OnMouseTargetChanged(WebKitWebView*, WebKitHitTestResult*, guint, gpointer);
    static void OnViewClose(WebKitWebView*, gpointer);
    void SetFullScreen(bool fullScreen);

    // NewWindows.cpp
    static GtkWidget* OnCreate(WebKitWebView*, WebKitNavigationAction*, gpointer);

    // ResourceRequests.cpp
    bool Intercepts(const std::string& hostUri) const;

    ComPtr<ICoreWebView2Environment> FEnvironment;
    TEnvironmentOptions FOptions;
    WebKitWebView* FView = nullptr;
    WebKitUserContentManager* FContentManager = nullptr;
    GtkWidget* FParent = nullptr;
    ComPtr<TSettings> FSettings;
    TStatusBubble* FStatusBubble = nullptr;
    bool FClosed = false;

    RECT FBounds{};
    bool FVisible = true;
    double FZoom = 1.0;

    // Navigation: the committed source, the navigation in progress and what happened to it.
    std::string FSource = "about:blank";
    std::string FPendingUri;   // the document the load in progress asked for
    std::string FCancelledUri; // ... when the host cancelled it: its request is not offered to the host
    UINT64 FNextNavigationId = 1;
    UINT64 FNavigationId = 0;
    bool FLoadFailed = false;
    COREWEBVIEW2_WEB_ERROR_STATUS FLoadError = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    bool FShowingErrorPage = false;
    bool FErrorPageCompletes = false; // the failed navigation completes when its error page loaded
    bool FLoading = false;            // a document load runs, from its start to its end
    bool FProvisional = false;        // ... and has not committed its document yet
    bool FApiNavigation = false;      // the next load was asked for by the host
    // The browser tells whether a click started a navigation only when asking whether to allow it.
    std::vector<std::pair<std::string, bool>> FRecentActions;
    std::string FTitle;           // the title the host was last told of
    bool FHistoryPending = false; // the history changed with a document not yet committed
    bool FFullScreen = false;

    // Scripts: the id of each added document script.
    std::map<std::string, WebKitUserScript*> FScripts;
    unsigned FNextScriptId = 1;

    // Messages to the page wait here until the page asks for them.
    WebKitScriptMessageReply* FPendingPull = nullptr;
    std::string FQueuedMessages;
    // The top document's message being handled, whose answer carries what is posted meanwhile.
    WebKitScriptMessageReply* FMessageReply = nullptr;
    std::map<std::string, UINT64> FFrameNavigations;

    std::vector<std::pair<std::string, COREWEBVIEW2_WEB_RESOURCE_CONTEXT>> FFilters;
    std::set<unsigned> FKeysDown;
    // The last key events seen: the browser hands keys the page left alone back to the toolkit, which
    // delivers them to the view a second time, possibly after newer ones.
    struct TKeyStamp {
        guint32 Time = 0;
        unsigned Keycode = 0;
        int Type = 0;
    };
    TKeyStamp FRecentKeys[16];
    unsigned FNextRecentKey = 0;

    // Controller events
    TEventList<ICoreWebView2ZoomFactorChangedEventHandler> FZoomFactorChanged;
    TEventList<ICoreWebView2MoveFocusRequestedEventHandler> FMoveFocusRequested;
    TEventList<ICoreWebView2FocusChangedEventHandler> FGotFocus;
    TEventList<ICoreWebView2FocusChangedEventHandler> FLostFocus;
    TEventList<ICoreWebView2AcceleratorKeyPressedEventHandler> FAcceleratorKeyPressed;
    // Web view events
    TEventList<ICoreWebView2NavigationStartingEventHandler> FNavigationStarting;
    TEventList<ICoreWebView2ContentLoadingEventHandler> FContentLoading;
    TEventList<ICoreWebView2SourceChangedEventHandler> FSourceChanged;
    TEventList<ICoreWebView2HistoryChangedEventHandler> FHistoryChanged;
    TEventList<ICoreWebView2NavigationCompletedEventHandler> FNavigationCompleted;
    TEventList<ICoreWebView2NavigationStartingEventHandler> FFrameNavigationStarting;
    TEventList<ICoreWebView2NavigationCompletedEventHandler> FFrameNavigationCompleted;
    TEventList<ICoreWebView2ScriptDialogOpeningEventHandler> FScriptDialogOpening;
    TEventList<ICoreWebView2PermissionRequestedEventHandler> FPermissionRequested;
    TEventList<ICoreWebView2ProcessFailedEventHandler> FProcessFailed;
    TEventList<ICoreWebView2WebMessageReceivedEventHandler> FWebMessageReceived;
    TEventList<ICoreWebView2NewWindowRequestedEventHandler> FNewWindowRequested;
    TEventList<ICoreWebView2DocumentTitleChangedEventHandler> FDocumentTitleChanged;
    TEventList<ICoreWebView2ContainsFullScreenElementChangedEventHandler> FContainsFullScreenElementChanged;
    TEventList<ICoreWebView2WebResourceRequestedEventHandler> FWebResourceRequested;
    TEventList<ICoreWebView2WindowCloseRequestedEventHandler> FWindowCloseRequested;
};

} // namespace CrvWebView

// Calls on a closed view answer HRESULT_INVALID_STATE.
#define CRV_REQUIRE_OPEN()                                                                                   \
    do {                                                                                                     \
        if (FClosed) return HRESULT_INVALID_STATE;                                                           \
    } while (0)
