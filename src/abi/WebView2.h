// The WebView2 boundary: the loader exports and the COM interfaces the runtime calls through, in the
// binary layout of the WebView2 1.0 SDK (vtable order, IIDs, enumeration values). On Windows the real
// loader answers; on Linux our WebKitGTK stand-in implements the same interfaces.
#pragma once

#include <cstdint>
#include <cstdlib>

#if defined(_WIN32)
#include <objidl.h>
#include <windows.h>
// The status codes are macros there, which WebView2::S_OK cannot name: they become constants below,
// with the same values, in this namespace and the global one.
#undef S_OK
#undef S_FALSE
#undef E_NOTIMPL
#undef E_NOINTERFACE
#undef E_POINTER
#undef E_FAIL
#undef E_INVALIDARG
#undef E_OUTOFMEMORY
#undef E_ABORT
// winuser.h's macro would rename a method of ours of the same name.
#undef ExitWindows
#else
#define STDMETHODCALLTYPE
#endif

// COM objects are released, never deleted through an interface, and a virtual destructor would add a
// vtable slot that the binary layout does not have.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace WebView2 {

#if defined(_WIN32)
using ::BOOL;
using ::CoTaskMemFree;
using ::GUID;
using ::HRESULT;
using ::HWND;
using ::INT;
using ::IStream;
using ::IUnknown;
using ::LPCWSTR;
using ::LPWSTR;
using ::PCWSTR;
using ::RECT;
using ::UINT;
using ::UINT32;
using ::UINT64;
using ::ULONG;
using ::VARIANT;
using ::WCHAR;
#else
using HRESULT = std::int32_t;
using WCHAR = char16_t; // UTF-16, as on Windows
using PCWSTR = const WCHAR*;
using LPCWSTR = const WCHAR*;
using LPWSTR = WCHAR*;
using BOOL = std::int32_t;
using INT = std::int32_t;
using UINT = std::uint32_t;
using UINT32 = std::uint32_t;
using UINT64 = std::uint64_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
// A parent window: on Linux the toolkit container the browser is placed into.
using HWND = void*;
struct VARIANT;

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using REFIID = const GUID&;

inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}

struct RECT {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
};

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

// What IStream::Stat reports.
struct STATSTG {
    WCHAR* pwcsName;
    DWORD type;
    std::uint64_t cbSize;
    FILETIME mtime;
    FILETIME ctime;
    FILETIME atime;
    DWORD grfMode;
    DWORD grfLocksSupported;
    GUID clsid;
    DWORD grfStateBits;
    DWORD reserved;
};
constexpr DWORD STGTY_STREAM = 2;
constexpr DWORD STATFLAG_NONAME = 1;
constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;

struct ISequentialStream : public IUnknown {
    virtual HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) = 0;
    virtual HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) = 0;
};

// Positions are plain 64-bit integers here; only our own code is on either side on Linux.
struct IStream : public ISequentialStream {
    virtual HRESULT Seek(std::int64_t dlibMove, DWORD dwOrigin, std::uint64_t* plibNewPosition) = 0;
    virtual HRESULT SetSize(std::uint64_t libNewSize) = 0;
    virtual HRESULT CopyTo(IStream* pstm, std::uint64_t cb, std::uint64_t* pcbRead,
                           std::uint64_t* pcbWritten) = 0;
    virtual HRESULT Commit(DWORD grfCommitFlags) = 0;
    virtual HRESULT Revert() = 0;
    virtual HRESULT LockRegion(std::uint64_t libOffset, std::uint64_t cb, DWORD dwLockType) = 0;
    virtual HRESULT UnlockRegion(std::uint64_t libOffset, std::uint64_t cb, DWORD dwLockType) = 0;
    virtual HRESULT Stat(STATSTG* pstatstg, DWORD grfStatFlag) = 0;
    virtual HRESULT Clone(IStream** ppstm) = 0;
};

inline constexpr GUID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID IID_ISequentialStream = {
    0x0c733a30, 0x2a1c, 0x11ce, {0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3a}};
inline constexpr GUID IID_IStream = {
    0x0000000c, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The toolkit headers may have defined these already, with the same values.
#ifndef TRUE
constexpr BOOL TRUE = 1;
#endif
#ifndef FALSE
constexpr BOOL FALSE = 0;
#endif

// Frees a string or buffer the loader handed out. On Linux the stand-in allocates with malloc.
inline void CoTaskMemFree(void* p) {
    std::free(p);
}
#endif

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);

// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND): no browser runtime found.
constexpr HRESULT HRESULT_FILE_NOT_FOUND = static_cast<HRESULT>(0x80070002u);
// HRESULT_FROM_WIN32(ERROR_INVALID_STATE): the object was closed.
constexpr HRESULT HRESULT_INVALID_STATE = static_cast<HRESULT>(0x8007139Fu);

inline bool Succeeded(HRESULT hr) {
    return hr >= 0;
}

struct EventRegistrationToken {
    std::int64_t value;
};

struct COREWEBVIEW2_PHYSICAL_KEY_STATUS {
    UINT32 RepeatCount;
    UINT32 ScanCode;
    BOOL IsExtendedKey;
    BOOL IsMenuKeyDown;
    BOOL WasKeyDown;
    BOOL IsKeyReleased;
};

struct ICoreWebView2Environment;
struct ICoreWebView2Controller;
struct ICoreWebView2;
struct ICoreWebView2Settings;
struct ICoreWebView2WebResourceRequestedEventArgs;
struct ICoreWebView2WebResourceRequest;
struct ICoreWebView2WebResourceResponse;
struct ICoreWebView2HttpRequestHeaders;
struct ICoreWebView2HttpResponseHeaders;
struct ICoreWebView2HttpHeadersCollectionIterator;
struct ICoreWebView2NewWindowRequestedEventArgs;
struct ICoreWebView2WindowFeatures;
struct ICoreWebView2PermissionRequestedEventArgs;
struct ICoreWebView2AcceleratorKeyPressedEventArgs;
struct ICoreWebView2WebMessageReceivedEventArgs;
struct ICoreWebView2NavigationStartingEventArgs;
struct ICoreWebView2NavigationCompletedEventArgs;
struct ICoreWebView2SourceChangedEventArgs;
struct ICoreWebView2ContentLoadingEventArgs;
struct ICoreWebView2ProcessFailedEventArgs;
struct ICoreWebView2ScriptDialogOpeningEventArgs;
struct ICoreWebView2MoveFocusRequestedEventArgs;
struct ICoreWebView2DevToolsProtocolEventReceiver;
struct ICoreWebView2DevToolsProtocolEventReceivedEventArgs;
struct ICoreWebView2Deferral;
struct ICoreWebView2EnvironmentOptions;
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler;
struct ICoreWebView2ExecuteScriptCompletedHandler;
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler;
struct ICoreWebView2CapturePreviewCompletedHandler;
struct ICoreWebView2CallDevToolsProtocolMethodCompletedHandler;
struct ICoreWebView2NavigationStartingEventHandler;
struct ICoreWebView2NavigationCompletedEventHandler;
struct ICoreWebView2SourceChangedEventHandler;
struct ICoreWebView2HistoryChangedEventHandler;
struct ICoreWebView2ContentLoadingEventHandler;
struct ICoreWebView2DocumentTitleChangedEventHandler;
struct ICoreWebView2NewWindowRequestedEventHandler;
struct ICoreWebView2WebResourceRequestedEventHandler;
struct ICoreWebView2ScriptDialogOpeningEventHandler;
struct ICoreWebView2PermissionRequestedEventHandler;
struct ICoreWebView2ProcessFailedEventHandler;
struct ICoreWebView2WebMessageReceivedEventHandler;
struct ICoreWebView2ContainsFullScreenElementChangedEventHandler;
struct ICoreWebView2WindowCloseRequestedEventHandler;
struct ICoreWebView2ZoomFactorChangedEventHandler;
struct ICoreWebView2MoveFocusRequestedEventHandler;
struct ICoreWebView2AcceleratorKeyPressedEventHandler;
struct ICoreWebView2FocusChangedEventHandler;
struct ICoreWebView2DevToolsProtocolEventReceivedEventHandler;
struct ICoreWebView2NewBrowserVersionAvailableEventHandler;

enum COREWEBVIEW2_WEB_RESOURCE_CONTEXT : std::int32_t {
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL = 0,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT = 1,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_STYLESHEET = 2,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_IMAGE = 3,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MEDIA = 4,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FONT = 5,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SCRIPT = 6,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_XML_HTTP_REQUEST = 7,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FETCH = 8,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_TEXT_TRACK = 9,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_EVENT_SOURCE = 10,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_WEBSOCKET = 11,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MANIFEST = 12,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SIGNED_EXCHANGE = 13,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_PING = 14,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_CSP_VIOLATION_REPORT = 15,
    COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER = 16,
};

enum COREWEBVIEW2_PERMISSION_STATE : std::int32_t {
    COREWEBVIEW2_PERMISSION_STATE_DEFAULT = 0,
    COREWEBVIEW2_PERMISSION_STATE_ALLOW = 1,
    COREWEBVIEW2_PERMISSION_STATE_DENY = 2,
};

enum COREWEBVIEW2_KEY_EVENT_KIND : std::int32_t {
    COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN = 0,
    COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP = 1,
    COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN = 2,
    COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP = 3,
};

enum COREWEBVIEW2_MOVE_FOCUS_REASON : std::int32_t {
    COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC = 0,
    COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT = 1,
    COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS = 2,
};

enum COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT : std::int32_t {
    COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_PNG = 0,
    COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT_JPEG = 1,
};

enum COREWEBVIEW2_WEB_ERROR_STATUS : std::int32_t {
    COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN = 0,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT = 1,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED = 2,
    COREWEBVIEW2_WEB_ERROR_STATUS_CLIENT_CERTIFICATE_CONTAINS_ERRORS = 3,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED = 4,
    COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID = 5,
    COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE = 6,
    COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT = 7,
    COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE = 8,
    COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED = 9,
    COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET = 10,
    COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED = 11,
    COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT = 12,
    COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED = 13,
    COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED = 14,
    COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED = 15,
    COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR = 16,
    COREWEBVIEW2_WEB_ERROR_STATUS_VALID_AUTHENTICATION_CREDENTIALS_REQUIRED = 17,
    COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED = 18,
};

enum COREWEBVIEW2_PROCESS_FAILED_KIND : std::int32_t {
    COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED = 0,
    COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED = 1,
    COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE = 2,
    COREWEBVIEW2_PROCESS_FAILED_KIND_FRAME_RENDER_PROCESS_EXITED = 3,
    COREWEBVIEW2_PROCESS_FAILED_KIND_UTILITY_PROCESS_EXITED = 4,
    COREWEBVIEW2_PROCESS_FAILED_KIND_SANDBOX_HELPER_PROCESS_EXITED = 5,
    COREWEBVIEW2_PROCESS_FAILED_KIND_GPU_PROCESS_EXITED = 6,
    COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_PLUGIN_PROCESS_EXITED = 7,
    COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_BROKER_PROCESS_EXITED = 8,
    COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED = 9,
};

enum COREWEBVIEW2_SCRIPT_DIALOG_KIND : std::int32_t {
    COREWEBVIEW2_SCRIPT_DIALOG_KIND_ALERT = 0,
    COREWEBVIEW2_SCRIPT_DIALOG_KIND_CONFIRM = 1,
    COREWEBVIEW2_SCRIPT_DIALOG_KIND_PROMPT = 2,
    COREWEBVIEW2_SCRIPT_DIALOG_KIND_BEFOREUNLOAD = 3,
};

enum COREWEBVIEW2_PERMISSION_KIND : std::int32_t {
    COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION = 0,
    COREWEBVIEW2_PERMISSION_KIND_MICROPHONE = 1,
    COREWEBVIEW2_PERMISSION_KIND_CAMERA = 2,
    COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION = 3,
    COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS = 4,
    COREWEBVIEW2_PERMISSION_KIND_OTHER_SENSORS = 5,
    COREWEBVIEW2_PERMISSION_KIND_CLIPBOARD_READ = 6,
    COREWEBVIEW2_PERMISSION_KIND_MULTIPLE_AUTOMATIC_DOWNLOADS = 7,
    COREWEBVIEW2_PERMISSION_KIND_FILE_READ_WRITE = 8,
    COREWEBVIEW2_PERMISSION_KIND_AUTOPLAY = 9,
    COREWEBVIEW2_PERMISSION_KIND_LOCAL_FONTS = 10,
    COREWEBVIEW2_PERMISSION_KIND_MIDI_SYSTEM_EXCLUSIVE_MESSAGES = 11,
    COREWEBVIEW2_PERMISSION_KIND_WINDOW_MANAGEMENT = 12,
};

// b96d755e-0319-4e92-a296-23436f46a1fc
struct ICoreWebView2Environment : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase, LPCWSTR headers,
                              ICoreWebView2WebResourceResponse** response) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(
        ICoreWebView2NewBrowserVersionAvailableEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken token) = 0;
};
inline constexpr GUID IID_ICoreWebView2Environment = {
    0xb96d755e, 0x0319, 0x4e92, {0xa2, 0x96, 0x23, 0x43, 0x6f, 0x46, 0xa1, 0xfc}};

// 4d00c0d1-9434-4eb6-8078-8697a560334f
struct ICoreWebView2Controller : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* isVisible) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoomFactor) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(
        ICoreWebView2ZoomFactorChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(
        ICoreWebView2MoveFocusRequestedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_GotFocus(ICoreWebView2FocusChangedEventHandler* eventHandler,
                                                   EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_LostFocus(ICoreWebView2FocusChangedEventHandler* eventHandler,
                                                    EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(
        ICoreWebView2AcceleratorKeyPressedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parentWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parentWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** coreWebView2) = 0;
};
inline constexpr GUID IID_ICoreWebView2Controller = {
    0x4d00c0d1, 0x9434, 0x4eb6, {0x80, 0x78, 0x86, 0x97, 0xa5, 0x60, 0x33, 0x4f}};

// 76eceacb-0462-4d94-ac83-423a6793775e
struct ICoreWebView2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NavigationStarting(
        ICoreWebView2NavigationStartingEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ContentLoading(
        ICoreWebView2ContentLoadingEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_SourceChanged(ICoreWebView2SourceChangedEventHandler* eventHandler,
                                                        EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_HistoryChanged(
        ICoreWebView2HistoryChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NavigationCompleted(
        ICoreWebView2NavigationCompletedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(
        ICoreWebView2NavigationStartingEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(
        ICoreWebView2NavigationCompletedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(
        ICoreWebView2ScriptDialogOpeningEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_PermissionRequested(
        ICoreWebView2PermissionRequestedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* eventHandler,
                                                        EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
        LPCWSTR javaScript, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR javaScript,
                                                    ICoreWebView2ExecuteScriptCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat, IStream* imageStream,
                   ICoreWebView2CapturePreviewCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reload() = 0;
    virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) = 0;
    virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_WebMessageReceived(
        ICoreWebView2WebMessageReceivedEventHandler* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson,
                               ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* canGoBack) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* canGoForward) = 0;
    virtual HRESULT STDMETHODCALLTYPE GoBack() = 0;
    virtual HRESULT STDMETHODCALLTYPE GoForward() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(
        LPCWSTR eventName, ICoreWebView2DevToolsProtocolEventReceiver** receiver) = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
    virtual HRESULT STDMETHODCALLTYPE add_NewWindowRequested(
        ICoreWebView2NewWindowRequestedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(
        ICoreWebView2DocumentTitleChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() = 0;
    virtual HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(
        ICoreWebView2ContainsFullScreenElementChangedEventHandler* eventHandler,
        EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    remove_ContainsFullScreenElementChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* containsFullScreenElement) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_WebResourceRequested(
        ICoreWebView2WebResourceRequestedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    AddWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    RemoveWebResourceRequestedFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(
        ICoreWebView2WindowCloseRequestedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) = 0;
};
inline constexpr GUID IID_ICoreWebView2 = {
    0x76eceacb, 0x0462, 0x4d94, {0xac, 0x83, 0x42, 0x3a, 0x67, 0x93, 0x77, 0x5e}};

// e562e4f0-d7fa-43ac-8d71-c05150499f00
struct ICoreWebView2Settings : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL* isScriptEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL isScriptEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL* isWebMessageEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL isWebMessageEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    get_AreDefaultScriptDialogsEnabled(BOOL* areDefaultScriptDialogsEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    put_AreDefaultScriptDialogsEnabled(BOOL areDefaultScriptDialogsEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL* isStatusBarEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL isStatusBarEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL* areDevToolsEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL areDevToolsEnabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreDefaultContextMenusEnabled(BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AreHostObjectsAllowed(BOOL* allowed) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL allowed) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsZoomControlEnabled(BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsZoomControlEnabled(BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsBuiltInErrorPageEnabled(BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsBuiltInErrorPageEnabled(BOOL enabled) = 0;
};
inline constexpr GUID IID_ICoreWebView2Settings = {
    0xe562e4f0, 0xd7fa, 0x43ac, {0x8d, 0x71, 0xc0, 0x51, 0x50, 0x49, 0x9f, 0x00}};

// 453e667f-12c7-49d4-be6d-ddbe7956f57a
struct ICoreWebView2WebResourceRequestedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Request(ICoreWebView2WebResourceRequest** request) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2WebResourceResponse** response) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Response(ICoreWebView2WebResourceResponse* response) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) = 0;
};
inline constexpr GUID IID_ICoreWebView2WebResourceRequestedEventArgs = {
    0x453e667f, 0x12c7, 0x49d4, {0xbe, 0x6d, 0xdd, 0xbe, 0x79, 0x56, 0xf5, 0x7a}};

// 97055cd4-512c-4264-8b5f-e3f446cea6a5
struct ICoreWebView2WebResourceRequest : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Uri(LPCWSTR uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Method(LPWSTR* method) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Method(LPCWSTR method) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Content(IStream** content) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Content(IStream* content) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpRequestHeaders** headers) = 0;
};
inline constexpr GUID IID_ICoreWebView2WebResourceRequest = {
    0x97055cd4, 0x512c, 0x4264, {0x8b, 0x5f, 0xe3, 0xf4, 0x46, 0xce, 0xa6, 0xa5}};

// aafcc94f-fa27-48fd-97df-830ef75aaec9
struct ICoreWebView2WebResourceResponse : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Content(IStream** content) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Content(IStream* content) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Headers(ICoreWebView2HttpResponseHeaders** headers) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_StatusCode(int* statusCode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_StatusCode(int statusCode) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ReasonPhrase(LPWSTR* reasonPhrase) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ReasonPhrase(LPCWSTR reasonPhrase) = 0;
};
inline constexpr GUID IID_ICoreWebView2WebResourceResponse = {
    0xaafcc94f, 0xfa27, 0x48fd, {0x97, 0xdf, 0x83, 0x0e, 0xf7, 0x5a, 0xae, 0xc9}};

// e86cac0e-5523-465c-b536-8fb9fc8c8c60
struct ICoreWebView2HttpRequestHeaders : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHeaders(LPCWSTR name,
                                                 ICoreWebView2HttpHeadersCollectionIterator** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHeader(LPCWSTR name, LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveHeader(LPCWSTR name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIterator(ICoreWebView2HttpHeadersCollectionIterator** value) = 0;
};
inline constexpr GUID IID_ICoreWebView2HttpRequestHeaders = {
    0xe86cac0e, 0x5523, 0x465c, {0xb5, 0x36, 0x8f, 0xb9, 0xfc, 0x8c, 0x8c, 0x60}};

// 03c5ff5a-9b45-4a88-881c-89a9f328619c
struct ICoreWebView2HttpResponseHeaders : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE AppendHeader(LPCWSTR name, LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHeaders(LPCWSTR name,
                                                 ICoreWebView2HttpHeadersCollectionIterator** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIterator(ICoreWebView2HttpHeadersCollectionIterator** value) = 0;
};
inline constexpr GUID IID_ICoreWebView2HttpResponseHeaders = {
    0x03c5ff5a, 0x9b45, 0x4a88, {0x88, 0x1c, 0x89, 0xa9, 0xf3, 0x28, 0x61, 0x9c}};

// 0702fc30-f43b-47bb-ab52-a42cb552ad9f
struct ICoreWebView2HttpHeadersCollectionIterator : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetCurrentHeader(LPWSTR* name, LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_HasCurrentHeader(BOOL* hasCurrent) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveNext(BOOL* hasNext) = 0;
};
inline constexpr GUID IID_ICoreWebView2HttpHeadersCollectionIterator = {
    0x0702fc30, 0xf43b, 0x47bb, {0xab, 0x52, 0xa4, 0x2c, 0xb5, 0x52, 0xad, 0x9f}};

// 34acb11c-fc37-4418-9132-f9c21d1eafb9
struct ICoreWebView2NewWindowRequestedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* newWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** newWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** value) = 0;
};
inline constexpr GUID IID_ICoreWebView2NewWindowRequestedEventArgs = {
    0x34acb11c, 0xfc37, 0x4418, {0x91, 0x32, 0xf9, 0xc2, 0x1d, 0x1e, 0xaf, 0xb9}};

// 5eaf559f-b46e-4397-8860-e422f287ff1e
struct ICoreWebView2WindowFeatures : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_HasPosition(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_HasSize(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Left(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Top(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Height(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Width(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShouldDisplayMenuBar(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShouldDisplayStatus(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShouldDisplayToolbar(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ShouldDisplayScrollBars(BOOL* value) = 0;
};
inline constexpr GUID IID_ICoreWebView2WindowFeatures = {
    0x5eaf559f, 0xb46e, 0x4397, {0x88, 0x60, 0xe4, 0x22, 0xf2, 0x87, 0xff, 0x1e}};

// 973ae2ef-ff18-4894-8fb2-3c758f046810
struct ICoreWebView2PermissionRequestedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* permissionKind) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
};
inline constexpr GUID IID_ICoreWebView2PermissionRequestedEventArgs = {
    0x973ae2ef, 0xff18, 0x4894, {0x8f, 0xb2, 0x3c, 0x75, 0x8f, 0x04, 0x68, 0x10}};

// 9f760f8a-fb79-42be-9990-7b56900fa9c7
struct ICoreWebView2AcceleratorKeyPressedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* keyEventKind) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT* virtualKey) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT* lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* physicalKeyStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;
};
inline constexpr GUID IID_ICoreWebView2AcceleratorKeyPressedEventArgs = {
    0x9f760f8a, 0xfb79, 0x42be, {0x99, 0x90, 0x7b, 0x56, 0x90, 0x0f, 0xa9, 0xc7}};

// 0f99a40c-e962-4207-9e92-e3d542eff849
struct ICoreWebView2WebMessageReceivedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(LPWSTR* value) = 0;
};
inline constexpr GUID IID_ICoreWebView2WebMessageReceivedEventArgs = {
    0x0f99a40c, 0xe962, 0x4207, {0x9e, 0x92, 0xe3, 0xd5, 0x42, 0xef, 0xf8, 0x49}};

// 5b495469-e119-438a-9b18-7604f25f2e49
struct ICoreWebView2NavigationStartingEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* isRedirected) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    get_RequestHeaders(ICoreWebView2HttpRequestHeaders** requestHeaders) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) = 0;
};
inline constexpr GUID IID_ICoreWebView2NavigationStartingEventArgs = {
    0x5b495469, 0xe119, 0x438a, {0x9b, 0x18, 0x76, 0x04, 0xf2, 0x5f, 0x2e, 0x49}};

// 30d68b7d-20d9-4752-a9ca-ec8448fbb5c1
struct ICoreWebView2NavigationCompletedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* isSuccess) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* webErrorStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) = 0;
};
inline constexpr GUID IID_ICoreWebView2NavigationCompletedEventArgs = {
    0x30d68b7d, 0x20d9, 0x4752, {0xa9, 0xca, 0xec, 0x84, 0x48, 0xfb, 0xb5, 0xc1}};

// 31e0e545-1dba-4266-8914-f63848a1f7d7
struct ICoreWebView2SourceChangedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsNewDocument(BOOL* value) = 0;
};
inline constexpr GUID IID_ICoreWebView2SourceChangedEventArgs = {
    0x31e0e545, 0x1dba, 0x4266, {0x89, 0x14, 0xf6, 0x38, 0x48, 0xa1, 0xf7, 0xd7}};

// 0c8a1275-9b6b-4901-87ad-70df25bafa6e
struct ICoreWebView2ContentLoadingEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_IsErrorPage(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* value) = 0;
};
inline constexpr GUID IID_ICoreWebView2ContentLoadingEventArgs = {
    0x0c8a1275, 0x9b6b, 0x4901, {0x87, 0xad, 0x70, 0xdf, 0x25, 0xba, 0xfa, 0x6e}};

// 8155a9a4-1474-4a86-8cae-151b0fa6b8ca
struct ICoreWebView2ProcessFailedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* value) = 0;
};
inline constexpr GUID IID_ICoreWebView2ProcessFailedEventArgs = {
    0x8155a9a4, 0x1474, 0x4a86, {0x8c, 0xae, 0x15, 0x1b, 0x0f, 0xa6, 0xb8, 0xca}};

// 7390bb70-abe0-4843-9529-f143b31b03d6
struct ICoreWebView2ScriptDialogOpeningEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Kind(COREWEBVIEW2_SCRIPT_DIALOG_KIND* kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Message(LPWSTR* message) = 0;
    virtual HRESULT STDMETHODCALLTYPE Accept() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DefaultText(LPWSTR* defaultText) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ResultText(LPWSTR* resultText) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ResultText(LPCWSTR resultText) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) = 0;
};
inline constexpr GUID IID_ICoreWebView2ScriptDialogOpeningEventArgs = {
    0x7390bb70, 0xabe0, 0x4843, {0x95, 0x29, 0xf1, 0x43, 0xb3, 0x1b, 0x03, 0xd6}};

// 2d6aa13b-3839-4a15-92fc-d88b3c0d9c9d
struct ICoreWebView2MoveFocusRequestedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Reason(COREWEBVIEW2_MOVE_FOCUS_REASON* reason) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL value) = 0;
};
inline constexpr GUID IID_ICoreWebView2MoveFocusRequestedEventArgs = {
    0x2d6aa13b, 0x3839, 0x4a15, {0x92, 0xfc, 0xd8, 0x8b, 0x3c, 0x0d, 0x9c, 0x9d}};

// b32ca51a-8371-45e9-9317-af021d080367
struct ICoreWebView2DevToolsProtocolEventReceiver : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE
    add_DevToolsProtocolEventReceived(ICoreWebView2DevToolsProtocolEventReceivedEventHandler* eventHandler,
                                      EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_DevToolsProtocolEventReceived(EventRegistrationToken token) = 0;
};
inline constexpr GUID IID_ICoreWebView2DevToolsProtocolEventReceiver = {
    0xb32ca51a, 0x8371, 0x45e9, {0x93, 0x17, 0xaf, 0x02, 0x1d, 0x08, 0x03, 0x67}};

// 653c2959-bb3a-4377-8632-b58ada4e66c4
struct ICoreWebView2DevToolsProtocolEventReceivedEventArgs : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_ParameterObjectAsJson(LPWSTR* value) = 0;
};
inline constexpr GUID IID_ICoreWebView2DevToolsProtocolEventReceivedEventArgs = {
    0x653c2959, 0xbb3a, 0x4377, {0x86, 0x32, 0xb5, 0x8a, 0xda, 0x4e, 0x66, 0xc4}};

// c10e7f7b-b585-46f0-a623-8befbf3e4ee0
struct ICoreWebView2Deferral : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Complete() = 0;
};
inline constexpr GUID IID_ICoreWebView2Deferral = {
    0xc10e7f7b, 0xb585, 0x46f0, {0xa6, 0x23, 0x8b, 0xef, 0xbf, 0x3e, 0x4e, 0xe0}};

// 2fde08a8-1e9a-4766-8c05-95a9ceb9d1c5
struct ICoreWebView2EnvironmentOptions : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) = 0;
};
inline constexpr GUID IID_ICoreWebView2EnvironmentOptions = {
    0x2fde08a8, 0x1e9a, 0x4766, {0x8c, 0x05, 0x95, 0xa9, 0xce, 0xb9, 0xd1, 0xc5}};

// 4e8a3389-c9d8-4bd2-b6b5-124fee6cc14d
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, ICoreWebView2Environment* result) = 0;
};
inline constexpr GUID IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler = {
    0x4e8a3389, 0xc9d8, 0x4bd2, {0xb6, 0xb5, 0x12, 0x4f, 0xee, 0x6c, 0xc1, 0x4d}};

// 6c4819f3-c9b7-4260-8127-c9f5bde7f68c
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, ICoreWebView2Controller* result) = 0;
};
inline constexpr GUID IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler = {
    0x6c4819f3, 0xc9b7, 0x4260, {0x81, 0x27, 0xc9, 0xf5, 0xbd, 0xe7, 0xf6, 0x8c}};

// 49511172-cc67-4bca-9923-137112f4c4cc
struct ICoreWebView2ExecuteScriptCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, LPCWSTR result) = 0;
};
inline constexpr GUID IID_ICoreWebView2ExecuteScriptCompletedHandler = {
    0x49511172, 0xcc67, 0x4bca, {0x99, 0x23, 0x13, 0x71, 0x12, 0xf4, 0xc4, 0xcc}};

// b99369f3-9b11-47b5-bc6f-8e7895fcea17
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, LPCWSTR result) = 0;
};
inline constexpr GUID IID_ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler = {
    0xb99369f3, 0x9b11, 0x47b5, {0xbc, 0x6f, 0x8e, 0x78, 0x95, 0xfc, 0xea, 0x17}};

// 697e05e9-3d8f-45fa-96f4-8ffe1ededaf5
struct ICoreWebView2CapturePreviewCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode) = 0;
};
inline constexpr GUID IID_ICoreWebView2CapturePreviewCompletedHandler = {
    0x697e05e9, 0x3d8f, 0x45fa, {0x96, 0xf4, 0x8f, 0xfe, 0x1e, 0xde, 0xda, 0xf5}};

// 5c4889f0-5ef6-4c5a-952c-d8f1b92d0574
struct ICoreWebView2CallDevToolsProtocolMethodCompletedHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(HRESULT errorCode, LPCWSTR result) = 0;
};
inline constexpr GUID IID_ICoreWebView2CallDevToolsProtocolMethodCompletedHandler = {
    0x5c4889f0, 0x5ef6, 0x4c5a, {0x95, 0x2c, 0xd8, 0xf1, 0xb9, 0x2d, 0x05, 0x74}};

// 9adbe429-f36d-432b-9ddc-f8881fbd76e3
struct ICoreWebView2NavigationStartingEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2NavigationStartingEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2NavigationStartingEventHandler = {
    0x9adbe429, 0xf36d, 0x432b, {0x9d, 0xdc, 0xf8, 0x88, 0x1f, 0xbd, 0x76, 0xe3}};

// d33a35bf-1c49-4f98-93ab-006e0533fe1c
struct ICoreWebView2NavigationCompletedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2NavigationCompletedEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2NavigationCompletedEventHandler = {
    0xd33a35bf, 0x1c49, 0x4f98, {0x93, 0xab, 0x00, 0x6e, 0x05, 0x33, 0xfe, 0x1c}};

// 3c067f9f-5388-4772-8b48-79f7ef1ab37c
struct ICoreWebView2SourceChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2SourceChangedEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2SourceChangedEventHandler = {
    0x3c067f9f, 0x5388, 0x4772, {0x8b, 0x48, 0x79, 0xf7, 0xef, 0x1a, 0xb3, 0x7c}};

// c79a420c-efd9-4058-9295-3e8b4bcab645
struct ICoreWebView2HistoryChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2HistoryChangedEventHandler = {
    0xc79a420c, 0xefd9, 0x4058, {0x92, 0x95, 0x3e, 0x8b, 0x4b, 0xca, 0xb6, 0x45}};

// 364471e7-f2be-4910-bdba-d72077d51c4b
struct ICoreWebView2ContentLoadingEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2ContentLoadingEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2ContentLoadingEventHandler = {
    0x364471e7, 0xf2be, 0x4910, {0xbd, 0xba, 0xd7, 0x20, 0x77, 0xd5, 0x1c, 0x4b}};

// f5f2b923-953e-4042-9f95-f3a118e1afd4
struct ICoreWebView2DocumentTitleChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2DocumentTitleChangedEventHandler = {
    0xf5f2b923, 0x953e, 0x4042, {0x9f, 0x95, 0xf3, 0xa1, 0x18, 0xe1, 0xaf, 0xd4}};

// d4c185fe-c81c-4989-97af-2d3fa7ab5651
struct ICoreWebView2NewWindowRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2NewWindowRequestedEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2NewWindowRequestedEventHandler = {
    0xd4c185fe, 0xc81c, 0x4989, {0x97, 0xaf, 0x2d, 0x3f, 0xa7, 0xab, 0x56, 0x51}};

// ab00b74c-15f1-4646-80e8-e76341d25d71
struct ICoreWebView2WebResourceRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2WebResourceRequestedEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2WebResourceRequestedEventHandler = {
    0xab00b74c, 0x15f1, 0x4646, {0x80, 0xe8, 0xe7, 0x63, 0x41, 0xd2, 0x5d, 0x71}};

// ef381bf9-afa8-4e37-91c4-8ac48524bdfb
struct ICoreWebView2ScriptDialogOpeningEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2ScriptDialogOpeningEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2ScriptDialogOpeningEventHandler = {
    0xef381bf9, 0xafa8, 0x4e37, {0x91, 0xc4, 0x8a, 0xc4, 0x85, 0x24, 0xbd, 0xfb}};

// 15e1c6a3-c72a-4df3-91d7-d097fbec6bfd
struct ICoreWebView2PermissionRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2PermissionRequestedEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2PermissionRequestedEventHandler = {
    0x15e1c6a3, 0xc72a, 0x4df3, {0x91, 0xd7, 0xd0, 0x97, 0xfb, 0xec, 0x6b, 0xfd}};

// 79e0aea4-990b-42d9-aa1d-0fcc2e5bc7f1
struct ICoreWebView2ProcessFailedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2ProcessFailedEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2ProcessFailedEventHandler = {
    0x79e0aea4, 0x990b, 0x42d9, {0xaa, 0x1d, 0x0f, 0xcc, 0x2e, 0x5b, 0xc7, 0xf1}};

// 57213f19-00e6-49fa-8e07-898ea01ecbd2
struct ICoreWebView2WebMessageReceivedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2WebMessageReceivedEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2WebMessageReceivedEventHandler = {
    0x57213f19, 0x00e6, 0x49fa, {0x8e, 0x07, 0x89, 0x8e, 0xa0, 0x1e, 0xcb, 0xd2}};

// e45d98b1-afef-45be-8baf-6c7728867f73
struct ICoreWebView2ContainsFullScreenElementChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2ContainsFullScreenElementChangedEventHandler = {
    0xe45d98b1, 0xafef, 0x45be, {0x8b, 0xaf, 0x6c, 0x77, 0x28, 0x86, 0x7f, 0x73}};

// 5c19e9e0-092f-486b-affa-ca8231913039
struct ICoreWebView2WindowCloseRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender, IUnknown* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2WindowCloseRequestedEventHandler = {
    0x5c19e9e0, 0x092f, 0x486b, {0xaf, 0xfa, 0xca, 0x82, 0x31, 0x91, 0x30, 0x39}};

// b52d71d6-c4df-4543-a90c-64a3e60f38cb
struct ICoreWebView2ZoomFactorChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender, IUnknown* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2ZoomFactorChangedEventHandler = {
    0xb52d71d6, 0xc4df, 0x4543, {0xa9, 0x0c, 0x64, 0xa3, 0xe6, 0x0f, 0x38, 0xcb}};

// 69035451-6dc7-4cb8-9bce-b2bd70ad289f
struct ICoreWebView2MoveFocusRequestedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender,
                                             ICoreWebView2MoveFocusRequestedEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2MoveFocusRequestedEventHandler = {
    0x69035451, 0x6dc7, 0x4cb8, {0x9b, 0xce, 0xb2, 0xbd, 0x70, 0xad, 0x28, 0x9f}};

// b29c7e28-fa79-41a8-8e44-65811c76dcb2
struct ICoreWebView2AcceleratorKeyPressedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender,
                                             ICoreWebView2AcceleratorKeyPressedEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2AcceleratorKeyPressedEventHandler = {
    0xb29c7e28, 0xfa79, 0x41a8, {0x8e, 0x44, 0x65, 0x81, 0x1c, 0x76, 0xdc, 0xb2}};

// 05ea24bd-6452-4926-9014-4b82b498135d
struct ICoreWebView2FocusChangedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Controller* sender, IUnknown* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2FocusChangedEventHandler = {
    0x05ea24bd, 0x6452, 0x4926, {0x90, 0x14, 0x4b, 0x82, 0xb4, 0x98, 0x13, 0x5d}};

// e2fda4be-5456-406c-a261-3d452138362c
struct ICoreWebView2DevToolsProtocolEventReceivedEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2* sender,
                                             ICoreWebView2DevToolsProtocolEventReceivedEventArgs* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2DevToolsProtocolEventReceivedEventHandler = {
    0xe2fda4be, 0x5456, 0x406c, {0xa2, 0x61, 0x3d, 0x45, 0x21, 0x38, 0x36, 0x2c}};

// f9a2976e-d34e-44fc-adee-81b6b57ca914
struct ICoreWebView2NewBrowserVersionAvailableEventHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2Environment* sender, IUnknown* args) = 0;
};
inline constexpr GUID IID_ICoreWebView2NewBrowserVersionAvailableEventHandler = {
    0xf9a2976e, 0xd34e, 0x44fc, {0xad, 0xee, 0x81, 0xb6, 0xb5, 0x7c, 0xa9, 0x14}};

// Every interface above, for code that needs one entry per interface.
// clang-format off
#define CRV_WV2_FOR_EACH_INTERFACE(X) \
    X(ICoreWebView2Environment) \
    X(ICoreWebView2Controller) \
    X(ICoreWebView2) \
    X(ICoreWebView2Settings) \
    X(ICoreWebView2WebResourceRequestedEventArgs) \
    X(ICoreWebView2WebResourceRequest) \
    X(ICoreWebView2WebResourceResponse) \
    X(ICoreWebView2HttpRequestHeaders) \
    X(ICoreWebView2HttpResponseHeaders) \
    X(ICoreWebView2HttpHeadersCollectionIterator) \
    X(ICoreWebView2NewWindowRequestedEventArgs) \
    X(ICoreWebView2WindowFeatures) \
    X(ICoreWebView2PermissionRequestedEventArgs) \
    X(ICoreWebView2AcceleratorKeyPressedEventArgs) \
    X(ICoreWebView2WebMessageReceivedEventArgs) \
    X(ICoreWebView2NavigationStartingEventArgs) \
    X(ICoreWebView2NavigationCompletedEventArgs) \
    X(ICoreWebView2SourceChangedEventArgs) \
    X(ICoreWebView2ContentLoadingEventArgs) \
    X(ICoreWebView2ProcessFailedEventArgs) \
    X(ICoreWebView2ScriptDialogOpeningEventArgs) \
    X(ICoreWebView2MoveFocusRequestedEventArgs) \
    X(ICoreWebView2DevToolsProtocolEventReceiver) \
    X(ICoreWebView2DevToolsProtocolEventReceivedEventArgs) \
    X(ICoreWebView2Deferral) \
    X(ICoreWebView2EnvironmentOptions) \
    X(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler) \
    X(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler) \
    X(ICoreWebView2ExecuteScriptCompletedHandler) \
    X(ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler) \
    X(ICoreWebView2CapturePreviewCompletedHandler) \
    X(ICoreWebView2CallDevToolsProtocolMethodCompletedHandler) \
    X(ICoreWebView2NavigationStartingEventHandler) \
    X(ICoreWebView2NavigationCompletedEventHandler) \
    X(ICoreWebView2SourceChangedEventHandler) \
    X(ICoreWebView2HistoryChangedEventHandler) \
    X(ICoreWebView2ContentLoadingEventHandler) \
    X(ICoreWebView2DocumentTitleChangedEventHandler) \
    X(ICoreWebView2NewWindowRequestedEventHandler) \
    X(ICoreWebView2WebResourceRequestedEventHandler) \
    X(ICoreWebView2ScriptDialogOpeningEventHandler) \
    X(ICoreWebView2PermissionRequestedEventHandler) \
    X(ICoreWebView2ProcessFailedEventHandler) \
    X(ICoreWebView2WebMessageReceivedEventHandler) \
    X(ICoreWebView2ContainsFullScreenElementChangedEventHandler) \
    X(ICoreWebView2WindowCloseRequestedEventHandler) \
    X(ICoreWebView2ZoomFactorChangedEventHandler) \
    X(ICoreWebView2MoveFocusRequestedEventHandler) \
    X(ICoreWebView2AcceleratorKeyPressedEventHandler) \
    X(ICoreWebView2FocusChangedEventHandler) \
    X(ICoreWebView2DevToolsProtocolEventReceivedEventHandler) \
    X(ICoreWebView2NewBrowserVersionAvailableEventHandler)
// clang-format on

// Loader exports, looked up by name.
using CreateCoreWebView2EnvironmentFn = HRESULT(STDMETHODCALLTYPE*)(
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler);
using GetAvailableCoreWebView2BrowserVersionStringFn =
    HRESULT(STDMETHODCALLTYPE*)(PCWSTR browserExecutableFolder, LPWSTR* versionInfo);
using GetCoreWebView2BrowserVersionStringFn = GetAvailableCoreWebView2BrowserVersionStringFn;

} // namespace WebView2

#if defined(_WIN32)
// Windows code around expects the status codes unqualified.
using WebView2::S_OK, WebView2::S_FALSE, WebView2::E_NOTIMPL, WebView2::E_NOINTERFACE, WebView2::E_POINTER,
    WebView2::E_FAIL, WebView2::E_INVALIDARG, WebView2::E_OUTOFMEMORY, WebView2::E_ABORT;
#endif

#pragma GCC diagnostic pop
