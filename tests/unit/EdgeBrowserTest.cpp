// The browser control against a fake loader library: creation and its failures, registering and
// removing the runtime events, what each event delivers, and the operations and properties.
#include "browser/EdgeEx.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "FakeLoader.h"
#include "abi/ComObject.h"
#include "platform/Application.h"
#include "platform/Form.h"

using namespace Corvane::Browser;
using namespace WebView2;
using namespace std::chrono_literals;
using TState = TBrowserControlState;

extern char** environ;

namespace {

using FakeLoader::Fake;
using FakeLoader::FakeState;
using FakeLoader::PumpUntil;
using FakeLoader::Settle;
const std::string& kFakeLoader = FakeLoader::kPath;
constexpr HRESULT kFailure = static_cast<HRESULT>(0x80070005u);      // E_ACCESSDENIED
constexpr HRESULT kOtherFailure = static_cast<HRESULT>(0x8007000Du); // E_INVALIDDATA

std::ptrdiff_t IndexOf(const std::vector<std::string>& calls, const std::string& call) {
    const auto it = std::find(calls.begin(), calls.end(), call);
    return it == calls.end() ? -1 : it - calls.begin();
}

// The control with its protected hooks in reach.
class TTestBrowser : public TEdgeBrowser {
public:
    using TCustomEdgeBrowser::DoEnter;
    using TCustomEdgeBrowser::SysCommand;
};

void ExpectNotInstantiated(const std::function<void()>& call) {
    try {
        call();
        ADD_FAILURE() << "no EEdgeError";
    } catch (const EEdgeError& error) {
        EXPECT_STREQ(error.what(), "WebView2 not instantiated");
        EXPECT_EQ(error.ErrorCode(), E_FAIL);
    }
}

// The arguments of every kind of runtime event in one object: it answers scripted values and
// counts what is read from it.
class TFakeArgs final
    : public TComObject<ICoreWebView2NavigationStartingEventArgs, ICoreWebView2NavigationCompletedEventArgs,
                        ICoreWebView2SourceChangedEventArgs, ICoreWebView2ContentLoadingEventArgs,
                        ICoreWebView2ProcessFailedEventArgs, ICoreWebView2NewWindowRequestedEventArgs,
                        ICoreWebView2PermissionRequestedEventArgs, ICoreWebView2ScriptDialogOpeningEventArgs,
                        ICoreWebView2WebMessageReceivedEventArgs, ICoreWebView2WebResourceRequestedEventArgs,
                        ICoreWebView2AcceleratorKeyPressedEventArgs, ICoreWebView2MoveFocusRequestedEventArgs,
                        ICoreWebView2DevToolsProtocolEventReceivedEventArgs> {
public:
    int Reads = 0;
    HRESULT ReadResult = S_OK;
    BOOL Flag = 1;
    UINT64 NavigationId = 1234567890123ull;
    COREWEBVIEW2_WEB_ERROR_STATUS ErrorStatus = COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT;
    COREWEBVIEW2_PROCESS_FAILED_KIND FailedKind =
        COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE;
    COREWEBVIEW2_KEY_EVENT_KIND KeyKind = COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN;
    UINT VirtualKey = 0x41;
    INT KeyLParam = static_cast<INT>(0xC01E0001u);
    std::u16string Json = u"{\"timestamp\":1}";
    int HandledPuts = 0;
    BOOL Handled = 0;

    // Each read counts and answers ReadResult.
    template <class T> HRESULT Read(T* out, T value) {
        ++Reads;
        *out = value;
        return ReadResult;
    }

    HRESULT get_Uri(LPWSTR* v) override { return Read<LPWSTR>(v, nullptr); }
    HRESULT get_IsUserInitiated(BOOL* v) override { return Read(v, Flag); }
    HRESULT get_IsRedirected(BOOL* v) override { return Read(v, Flag); }
    HRESULT get_RequestHeaders(ICoreWebView2HttpRequestHeaders** v) override {
        return Read<ICoreWebView2HttpRequestHeaders*>(v, nullptr);
    }
    HRESULT get_Cancel(BOOL* v) override { return Read(v, Flag); }
    HRESULT put_Cancel(BOOL) override { return ++Reads, S_OK; }
    HRESULT get_NavigationId(UINT64* v) override { return Read(v, NavigationId); }
    HRESULT get_IsSuccess(BOOL* v) override { return Read(v, Flag); }
    HRESULT get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* v) override { return Read(v, ErrorStatus); }
    HRESULT get_IsNewDocument(BOOL* v) override { return Read(v, Flag); }
    HRESULT get_IsErrorPage(BOOL* v) override { return Read(v, Flag); }
    HRESULT get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* v) override {
        return Read(v, FailedKind);
    }
    HRESULT put_NewWindow(ICoreWebView2*) override { return ++Reads, S_OK; }
    HRESULT get_NewWindow(ICoreWebView2** v) override { return Read<ICoreWebView2*>(v, nullptr); }
    HRESULT put_Handled(BOOL v) override {
        ++HandledPuts;
        Handled = v;
        return S_OK;
    }
    HRESULT get_Handled(BOOL* v) override { return Read(v, Handled); }
    HRESULT GetDeferral(ICoreWebView2Deferral** v) override {
        return Read<ICoreWebView2Deferral*>(v, nullptr);
    }
    HRESULT get_WindowFeatures(ICoreWebView2WindowFeatures** v) override {
        return Read<ICoreWebView2WindowFeatures*>(v, nullptr);
    }
    HRESULT get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* v) override {
        return Read(v, COREWEBVIEW2_PERMISSION_KIND_CAMERA);
    }
    HRESULT get_State(COREWEBVIEW2_PERMISSION_STATE* v) override {
        return Read(v, COREWEBVIEW2_PERMISSION_STATE_DEFAULT);
    }
    HRESULT put_State(COREWEBVIEW2_PERMISSION_STATE) override { return ++Reads, S_OK; }
    HRESULT get_Kind(COREWEBVIEW2_SCRIPT_DIALOG_KIND* v) override {
        return Read(v, COREWEBVIEW2_SCRIPT_DIALOG_KIND_ALERT);
    }
    HRESULT get_Message(LPWSTR* v) override { return Read<LPWSTR>(v, nullptr); }
    HRESULT Accept() override { return ++Reads, S_OK; }
    HRESULT get_DefaultText(LPWSTR* v) override { return Read<LPWSTR>(v, nullptr); }
    HRESULT get_ResultText(LPWSTR* v) override { return Read<LPWSTR>(v, nullptr); }
    HRESULT put_ResultText(LPCWSTR) override { return ++Reads, S_OK; }
    HRESULT get_Source(LPWSTR* v) override { return Read<LPWSTR>(v, nullptr); }
    HRESULT get_WebMessageAsJson(LPWSTR* v) override { return Read<LPWSTR>(v, nullptr); }
    HRESULT TryGetWebMessageAsString(LPWSTR* v) override { return Read<LPWSTR>(v, nullptr); }
    HRESULT get_Request(ICoreWebView2WebResourceRequest** v) override {
        return Read<ICoreWebView2WebResourceRequest*>(v, nullptr);
    }
    HRESULT get_Response(ICoreWebView2WebResourceResponse** v) override {
        return Read<ICoreWebView2WebResourceResponse*>(v, nullptr);
    }
    HRESULT put_Response(ICoreWebView2WebResourceResponse*) override { return ++Reads, S_OK; }
    HRESULT get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* v) override {
        return Read(v, COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT);
    }
    HRESULT get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* v) override { return Read(v, KeyKind); }
    HRESULT get_VirtualKey(UINT* v) override { return Read(v, VirtualKey); }
    HRESULT get_KeyEventLParam(INT* v) override { return Read(v, KeyLParam); }
    HRESULT get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* v) override {
        return Read(v, COREWEBVIEW2_PHYSICAL_KEY_STATUS{});
    }
    HRESULT get_Reason(COREWEBVIEW2_MOVE_FOCUS_REASON* v) override {
        return Read(v, COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT);
    }
    HRESULT get_ParameterObjectAsJson(LPWSTR* v) override {
        ++Reads;
        auto* copy = static_cast<WCHAR*>(std::malloc((Json.size() + 1) * sizeof(WCHAR)));
        std::copy(Json.begin(), Json.end(), copy);
        copy[Json.size()] = 0;
        *v = copy;
        return ReadResult;
    }
};

ComPtr<TFakeArgs> NewArgs() {
    return ComPtr<TFakeArgs>::Attach(new TFakeArgs);
}

class EdgeBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(FakeState(), nullptr) << "cannot load " << kFakeLoader;
        EdgeLoaderDllPath = kFakeLoader;
        Fake().Reset();
        Form.SetBounds(0, 0, 400, 300);
    }
    void TearDown() override { Settle(); }

    // Places the browser on the form, which starts its creation, and waits until that has ended.
    void Create(TTestBrowser& browser) {
        browser.SetAlign(Platform::TAlign::Client);
        browser.SetParent(&Form);
        ASSERT_TRUE(PumpUntil([&] { return browser.BrowserControlState() != TState::Creating; }));
    }

    Platform::TForm Form;
};

// The library is kept once it is loaded, so this runs before any other test of this process has
// loaded it, or on its own.
TEST_F(EdgeBrowserTest, AMissingLoaderFailsTheEnvironmentRequestUntilItCanBeLoaded) {
    EdgeLoaderDllPath = "/nonexistent/loader.so";
    if (LoadWebView2Loader()) GTEST_SKIP() << "an earlier test of this process loaded the loader";

    TTestBrowser browser;
    std::vector<HRESULT> results;
    browser.OnCreateWebViewCompleted = [&](TCustomEdgeBrowser*, HRESULT result) {
        results.push_back(result);
    };
    browser.SetParent(&Form);
    ASSERT_TRUE(PumpUntil([&] { return !results.empty(); }));
    Settle();
    EXPECT_EQ(results, std::vector<HRESULT>{E_FAIL});
    EXPECT_EQ(browser.LastErrorCode(), E_FAIL);
    EXPECT_EQ(browser.BrowserControlState(), TState::Creating);
    EXPECT_EQ(browser.BrowserVersionInfo(), "");

    EdgeLoaderDllPath = kFakeLoader;
    browser.ReinitializeWebView();
    ASSERT_TRUE(PumpUntil([&] { return browser.BrowserControlState() == TState::Created; }));
    EXPECT_EQ(results, (std::vector<HRESULT>{E_FAIL, S_OK}));
}

class EdgeBrowserCreation : public EdgeBrowserTest, public ::testing::WithParamInterface<bool> {};

// The environment completion arrives through the message loop, or on the worker thread itself.
TEST_P(EdgeBrowserCreation, AsksForTheEnvironmentOnAWorkerAndForTheControllerOnTheUiThread) {
    Fake().Script.CompleteEnvironmentAtOnce = GetParam();
    TTestBrowser browser;
    EXPECT_EQ(browser.BrowserControlState(), TState::None);
    std::vector<HRESULT> results;
    browser.OnCreateWebViewCompleted = [&](TCustomEdgeBrowser* sender, HRESULT result) {
        EXPECT_EQ(sender, &browser);
        EXPECT_EQ(browser.BrowserControlState(), TState::Created);
        results.push_back(result);
    };
    browser.SetParent(&Form);
    EXPECT_EQ(browser.BrowserControlState(), TState::Creating);
    ASSERT_TRUE(PumpUntil([&] { return !results.empty(); }));
    Settle();

    EXPECT_EQ(results, std::vector<HRESULT>{S_OK});
    EXPECT_TRUE(browser.WebViewCreated());
    EXPECT_NE(browser.EnvironmentInterface(), nullptr);
    EXPECT_NE(browser.ControllerInterface(), nullptr);
    EXPECT_NE(browser.DefaultInterface(), nullptr);
    EXPECT_NE(browser.SettingsInterface(), nullptr);
    EXPECT_NE(Fake().EnvironmentThread, std::this_thread::get_id());
    EXPECT_EQ(Fake().ControllerThread, std::this_thread::get_id());
    EXPECT_EQ(Fake().Count("CreateCoreWebView2Environment"), 1);
}

INSTANTIATE_TEST_SUITE_P(EnvironmentCompletion, EdgeBrowserCreation, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "OnWorker" : "FromMessageLoop"; });

struct TFailureCase {
    const char* Name;
    std::function<void(FakeBrowser::TScript&)> Break;
    TState StateAfter;
    bool Raised;
    // Whether CreateWebView starts again afterwards (not while Creating, not while a web view exists).
    bool CreateAgainStarts;
};

TEST_F(EdgeBrowserTest, CreationFailuresFollowTheStateTable) {
    const TFailureCase cases[] = {
        {"environment call", [](auto& s) { s.CreateEnvironment = kFailure; }, TState::Creating, true, false},
        {"environment completion", [](auto& s) { s.EnvironmentCompleted = kFailure; }, TState::Creating, true,
         false},
        {"controller request", [](auto& s) { s.CreateController = kFailure; }, TState::Creating, false,
         false},
        {"controller completion", [](auto& s) { s.ControllerCompleted = kFailure; }, TState::Failed, true,
         true},
        {"web view", [](auto& s) { s.GetCoreWebView2 = kFailure; }, TState::Failed, true, true},
        {"settings", [](auto& s) { s.GetSettings = kFailure; }, TState::Failed, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Fake().Reset();
        c.Break(Fake().Script);
        TTestBrowser browser;
        std::vector<HRESULT> results;
        browser.OnCreateWebViewCompleted = [&](TCustomEdgeBrowser*, HRESULT result) {
            results.push_back(result);
        };
        testing::internal::CaptureStderr();
        browser.SetParent(&Form);
        PumpUntil([&] { return !results.empty() || Fake().Count("CreateCoreWebView2Controller") > 0; });
        Settle();
        EXPECT_EQ(testing::internal::GetCapturedStderr().find("Failed to create"), std::string::npos);

        EXPECT_EQ(browser.BrowserControlState(), c.StateAfter);
        EXPECT_EQ(results, c.Raised ? std::vector<HRESULT>{kFailure} : std::vector<HRESULT>{});
        EXPECT_EQ(browser.LastErrorCode(), kFailure);
        EXPECT_FALSE(browser.WebViewCreated());
        EXPECT_TRUE(Fake().CallsStartingWith("add ").empty());

        // Only ReinitializeWebView starts over where CreateWebView refuses.
        Fake().Script = {};
        browser.CreateWebView();
        if (c.CreateAgainStarts) {
            EXPECT_TRUE(PumpUntil([&] { return browser.WebViewCreated(); }));
            EXPECT_EQ(Fake().Count("CreateCoreWebView2Environment"), 2);
        } else {
            Settle();
            EXPECT_EQ(Fake().Count("CreateCoreWebView2Environment"), 1);
            browser.ReinitializeWebView();
            EXPECT_TRUE(PumpUntil([&] { return browser.WebViewCreated(); }));
        }
        EXPECT_EQ(browser.BrowserControlState(), TState::Created);
    }
}

TEST_F(EdgeBrowserTest, AFailedCreationWithoutAHandlerIsReportedFromTheMessageLoop) {
    Fake().Script.ControllerCompleted = kFailure;
    TTestBrowser browser;
    testing::internal::CaptureStderr();
    browser.SetParent(&Form);
    PumpUntil([&] { return browser.BrowserControlState() != TState::Creating; });
    Settle();
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_EQ(browser.BrowserControlState(), TState::Failed);
    EXPECT_NE(reported.find("Failed to create Edge browser control"), std::string::npos) << reported;
}

TEST_F(EdgeBrowserTest, CreateWebViewStartsOneCreationAtATime) {
    TTestBrowser browser;
    browser.CreateWebView();
    browser.CreateWebView(); // while creating
    ASSERT_TRUE(PumpUntil([&] { return browser.WebViewCreated(); }));
    browser.CreateWebView(); // while a web view exists
    Settle();
    EXPECT_EQ(Fake().Count("CreateCoreWebView2Environment"), 1);
    EXPECT_EQ(Fake().Count("CreateCoreWebView2Controller"), 1);
}

TEST_F(EdgeBrowserTest, TheControlMayGoWhileItsBrowserIsBeingMade) {
    // While the worker is inside the loader, with the completion arriving on the worker.
    Fake().Script.HoldEnvironment = true;
    Fake().Script.CompleteEnvironmentAtOnce = true;
    bool raised = false;
    {
        auto browser = std::make_unique<TTestBrowser>();
        browser->OnCreateWebViewCompleted = [&](TCustomEdgeBrowser*, HRESULT) { raised = true; };
        browser->CreateWebView();
        Fake().WaitForEnvironmentEntered();
    }
    Fake().ReleaseEnvironment();
    Fake().WaitForEnvironmentDone();
    Settle();
    EXPECT_EQ(Fake().Count("CreateCoreWebView2Controller"), 0);

    // While the controller's completion is still on its way.
    Fake().Reset();
    {
        auto browser = std::make_unique<TTestBrowser>();
        browser->OnCreateWebViewCompleted = [&](TCustomEdgeBrowser*, HRESULT) { raised = true; };
        browser->CreateWebView();
        ASSERT_TRUE(PumpUntil([] { return Fake().Count("CreateCoreWebView2Controller") == 1; }));
    }
    Settle();
    EXPECT_FALSE(raised);
    EXPECT_TRUE(Fake().CallsStartingWith("add ").empty());
}

const std::vector<std::string> kRegistrationOrder = {"NavigationStarting",
                                                     "NavigationCompleted",
                                                     "SourceChanged",
                                                     "HistoryChanged",
                                                     "ContentLoading",
                                                     "DocumentTitleChanged",
                                                     "NewWindowRequested",
                                                     "FrameNavigationStarting",
                                                     "FrameNavigationCompleted",
                                                     "WebResourceRequested",
                                                     "ScriptDialogOpening",
                                                     "PermissionRequested",
                                                     "ProcessFailed",
                                                     "WebMessageReceived",
                                                     "ContainsFullScreenElementChanged",
                                                     "WindowCloseRequested",
                                                     "ZoomFactorChanged",
                                                     "MoveFocusRequested",
                                                     "AcceleratorKeyPressed",
                                                     "GotFocus",
                                                     "LostFocus"};

const std::vector<std::string> kRemovalOrder = {"NavigationStarting",
                                                "NavigationCompleted",
                                                "SourceChanged",
                                                "HistoryChanged",
                                                "ContentLoading",
                                                "DocumentTitleChanged",
                                                "NewWindowRequested",
                                                "FrameNavigationStarting",
                                                "FrameNavigationCompleted",
                                                "WebResourceRequested",
                                                "ScriptDialogOpening",
                                                "PermissionRequested",
                                                "ProcessFailed",
                                                "WebMessageReceived",
                                                "WindowCloseRequested",
                                                "ContainsFullScreenElementChanged",
                                                "AcceleratorKeyPressed",
                                                "GotFocus",
                                                "LostFocus",
                                                "MoveFocusRequested",
                                                "ZoomFactorChanged"};

TEST_F(EdgeBrowserTest, ClosingRemovesEveryHandlerWithItsTokenInTheFixedOrder) {
    TTestBrowser browser;
    Create(browser);
    std::vector<std::string> registered;
    std::map<std::string, std::string> tokens;
    for (const auto& add : Fake().CallsStartingWith("add ")) {
        const auto space = add.find(' ');
        registered.push_back(add.substr(0, space));
        tokens[add.substr(0, space)] = add.substr(space + 1);
    }
    EXPECT_EQ(registered, kRegistrationOrder);

    Fake().ClearCalls();
    browser.CloseWebView();
    std::vector<std::string> expected;
    for (const auto& event : kRemovalOrder)
        expected.push_back("remove " + event + " " + tokens[event]);
    // The controller is closed after its handlers are gone.
    expected.insert(expected.end(), "Close");
    EXPECT_EQ(Fake().Calls(), expected);
    for (const auto& event : kRegistrationOrder)
        EXPECT_EQ(Fake().HandlerCount(event), 0u) << event;

    // The state, the environment and the settings object stay.
    EXPECT_EQ(browser.BrowserControlState(), TState::Created);
    EXPECT_FALSE(browser.WebViewCreated());
    EXPECT_EQ(browser.DefaultInterface(), nullptr);
    EXPECT_EQ(browser.ControllerInterface(), nullptr);
    EXPECT_NE(browser.EnvironmentInterface(), nullptr);
    EXPECT_NE(browser.SettingsInterface(), nullptr);

    Fake().ClearCalls();
    browser.CloseWebView();
    EXPECT_TRUE(Fake().Calls().empty());

    // A closed browser can be made again.
    browser.CreateWebView();
    EXPECT_TRUE(PumpUntil([&] { return browser.WebViewCreated(); }));
    EXPECT_EQ(Fake().CallsStartingWith("add ").size(), kRegistrationOrder.size());
}

TEST_F(EdgeBrowserTest, AUrlAskedForBeforeTheWebViewExistsOpensAfterCreation) {
    const struct {
        std::string Url;
        bool Kept;
    } cases[] = {{"", false},
                 {" \t\r\n", false},
                 {std::string("\x01\x1f ", 3), false},
                 {"https://example.org/", true},
                 {"  file:///index.html ", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE("'" + c.Url + "'");
        Fake().Reset();
        TTestBrowser browser;
        browser.OnCreateWebViewCompleted = [](TCustomEdgeBrowser*, HRESULT) { Fake().Log("created"); };
        browser.Navigate(c.Url);
        EXPECT_EQ(browser.LastURL(), c.Kept ? c.Url : "");
        Create(browser);
        Settle();

        const auto calls = Fake().Calls();
        const auto opened = IndexOf(calls, "Navigate " + c.Url);
        if (!c.Kept) {
            EXPECT_TRUE(Fake().CallsStartingWith("Navigate").empty());
            continue;
        }
        std::ptrdiff_t lastRegistration = -1;
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (calls[i].rfind("add ", 0) == 0) lastRegistration = static_cast<std::ptrdiff_t>(i);
        EXPECT_LT(IndexOf(calls, "created"), lastRegistration);
        EXPECT_LT(lastRegistration, opened);
    }
}

TEST_F(EdgeBrowserTest, OperationsReachTheWebView) {
    const struct {
        const char* Name;
        std::function<void(TTestBrowser&)> Call;
        std::string Expected;
    } cases[] = {
        {"Navigate", [](auto& b) { b.Navigate("https://example.org/"); }, "Navigate https://example.org/"},
        {"NavigateToString", [](auto& b) { b.NavigateToString("<p>hi</p>"); }, "NavigateToString <p>hi</p>"},
        {"GoBack", [](auto& b) { b.GoBack(); }, "GoBack"},
        {"GoForward", [](auto& b) { b.GoForward(); }, "GoForward"},
        {"Refresh", [](auto& b) { b.Refresh(); }, "Reload"},
        {"Stop", [](auto& b) { b.Stop(); }, "Stop"},
        {"AddFilter",
         [](auto& b) { b.AddWebResourceRequestedFilter("*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL); },
         "AddWebResourceRequestedFilter * 0"},
        {"RemoveFilter",
         [](auto& b) {
             b.RemoveWebResourceRequestedFilter("file:*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_IMAGE);
         },
         "RemoveWebResourceRequestedFilter file:* 3"},
        {"ExecuteScript", [](auto& b) { b.ExecuteScript("1+1"); }, "ExecuteScript 1+1"},
    };
    TTestBrowser idle;
    for (const auto& c : cases)
        c.Call(idle);
    EXPECT_TRUE(Fake().Calls().empty()) << "without a web view nothing reaches the runtime";
    EXPECT_EQ(idle.LastURL(), "https://example.org/");

    TTestBrowser browser;
    Create(browser);
    for (const auto& c : cases) {
        Fake().ClearCalls();
        c.Call(browser);
        EXPECT_EQ(Fake().Calls(), std::vector<std::string>{c.Expected}) << c.Name;
    }
    EXPECT_EQ(browser.LastURL(), "");
}

TEST_F(EdgeBrowserTest, ExecuteScriptReportsTheScriptsResultButNotTheCallsOwn) {
    TTestBrowser browser;
    std::vector<std::pair<HRESULT, std::string>> results;
    browser.OnExecuteScript = [&](TCustomEdgeBrowser*, HRESULT result, const std::string& json) {
        results.emplace_back(result, json);
    };
    Create(browser);
    Fake().Script.ExecuteScriptCall = kFailure;
    browser.ExecuteScript("boom");
    Settle();
    EXPECT_EQ(browser.LastErrorCode(), S_OK);
    EXPECT_TRUE(results.empty());

    Fake().Script.ExecuteScriptCall = S_OK;
    Fake().Script.ExecuteScriptCompleted = kOtherFailure;
    browser.ExecuteScript("document.title");
    ASSERT_TRUE(PumpUntil([&] { return !results.empty(); }));
    EXPECT_EQ(results, (std::vector<std::pair<HRESULT, std::string>>{{kOtherFailure, "{\"answer\":42}"}}));
}

TEST_F(EdgeBrowserTest, ReadersAnswerEmptyWithoutAWebView) {
    Fake().Script.ContainsFullScreenElement = true;
    Fake().Script.BrowserProcessId = 4242;
    Fake().Script.SourceUri = u"https://example.org/";
    TTestBrowser browser;
    auto expectEmpty = [&] {
        EXPECT_FALSE(browser.CanGoBack());
        EXPECT_FALSE(browser.CanGoForward());
        EXPECT_FALSE(browser.ContainsFullScreenElement());
        EXPECT_EQ(browser.DocumentTitle(), "");
        EXPECT_EQ(browser.LocationURL(), "");
        EXPECT_EQ(browser.BrowserProcessID(), 0u);
        EXPECT_EQ(browser.ZoomFactor(), 0.0);
        browser.SetZoomFactor(2.0);
    };
    expectEmpty();
    Create(browser);
    EXPECT_TRUE(browser.CanGoBack());
    EXPECT_TRUE(browser.ContainsFullScreenElement());
    EXPECT_EQ(browser.DocumentTitle(), "A title");
    EXPECT_EQ(browser.BrowserProcessID(), 4242u);
    browser.CloseWebView();
    expectEmpty();
}

TEST_F(EdgeBrowserTest, LocationUrlHidesTheBlankPage) {
    const struct {
        std::u16string Source;
        HRESULT Result;
        std::string Expected;
    } cases[] = {{u"about:blank", S_OK, ""},
                 {u"ABOUT:BLANK", S_OK, ""},
                 {u"About:Blank", S_OK, ""},
                 {u"about:blank#top", S_OK, "about:blank#top"},
                 {u"file:///index.html", S_OK, "file:///index.html"},
                 {u"file:///index.html", kFailure, ""}};
    TTestBrowser browser;
    Create(browser);
    for (const auto& c : cases) {
        Fake().Script.SourceUri = c.Source;
        Fake().Script.Source = c.Result;
        EXPECT_EQ(browser.LocationURL(), c.Expected);
    }
}

TEST_F(EdgeBrowserTest, BrowserVersionComesFromTheLoaderUntilTheWebViewExists) {
    TTestBrowser browser;
    EXPECT_EQ(browser.BrowserVersionInfo(), "loader 1.0");
    Create(browser);
    EXPECT_EQ(browser.BrowserVersionInfo(), "environment 2.0");
    Fake().Script.BrowserVersion = kFailure;
    EXPECT_EQ(browser.BrowserVersionInfo(), "");
    EXPECT_EQ(browser.LastErrorCode(), kFailure);
}

TEST_F(EdgeBrowserTest, TheBrowserCoversSizeRatioOfTheClientArea) {
    TTestBrowser browser;
    browser.SetSizeRatio(0.5); // a creation starts over at 1
    Create(browser);
    EXPECT_EQ(browser.SizeRatio(), 1.0);
    EXPECT_EQ(Fake().CallsStartingWith("put_Bounds ").back(), "0 0 400 300");

    browser.SetSizeRatio(0.5);
    EXPECT_EQ(Fake().CallsStartingWith("put_Bounds ").back(), "0 0 200 150");
    Form.SetBounds(0, 0, 401, 301); // 200.5 x 150.5, truncated
    EXPECT_EQ(Fake().CallsStartingWith("put_Bounds ").back(), "0 0 200 150");
    browser.SetSizeRatio(1.0 / 3);
    EXPECT_EQ(Fake().CallsStartingWith("put_Bounds ").back(), "0 0 133 100");
}

TEST_F(EdgeBrowserTest, MinimizeHidesTheBrowserAndRestoreShowsIt) {
    TTestBrowser browser;
    browser.SysCommand(Platform::TSysCommand::Minimize); // no controller yet
    Create(browser);
    Fake().ClearCalls();
    browser.SysCommand(Platform::TSysCommand::Minimize);
    browser.SysCommand(Platform::TSysCommand::Restore);
    browser.SetVisible(false);
    browser.SetVisible(true);
    EXPECT_EQ(Fake().CallsStartingWith("put_IsVisible "), (std::vector<std::string>{"0", "1", "0", "1"}));
}

struct TSettingCase {
    const char* Name;
    bool (TCustomEdgeBrowser::*Get)();
    void (TCustomEdgeBrowser::*Set)(bool);
};

const TSettingCase kSettings[] = {
    {"IsBuiltInErrorPageEnabled", &TCustomEdgeBrowser::BuiltInErrorPageEnabled,
     &TCustomEdgeBrowser::SetBuiltInErrorPageEnabled},
    {"AreDefaultContextMenusEnabled", &TCustomEdgeBrowser::DefaultContextMenusEnabled,
     &TCustomEdgeBrowser::SetDefaultContextMenusEnabled},
    {"AreDefaultScriptDialogsEnabled", &TCustomEdgeBrowser::DefaultScriptDialogsEnabled,
     &TCustomEdgeBrowser::SetDefaultScriptDialogsEnabled},
    {"AreDevToolsEnabled", &TCustomEdgeBrowser::DevToolsEnabled, &TCustomEdgeBrowser::SetDevToolsEnabled},
    {"IsScriptEnabled", &TCustomEdgeBrowser::ScriptEnabled, &TCustomEdgeBrowser::SetScriptEnabled},
    {"IsStatusBarEnabled", &TCustomEdgeBrowser::StatusBarEnabled, &TCustomEdgeBrowser::SetStatusBarEnabled},
    {"IsWebMessageEnabled", &TCustomEdgeBrowser::WebMessageEnabled,
     &TCustomEdgeBrowser::SetWebMessageEnabled},
    {"IsZoomControlEnabled", &TCustomEdgeBrowser::ZoomControlEnabled,
     &TCustomEdgeBrowser::SetZoomControlEnabled},
};

TEST_F(EdgeBrowserTest, SettingsPropertiesReachTheirOwnSetting) {
    TTestBrowser browser;
    for (const auto& s : kSettings) {
        SCOPED_TRACE(s.Name);
        ExpectNotInstantiated([&] { (browser.*s.Get)(); });
        ExpectNotInstantiated([&] { (browser.*s.Set)(true); });
    }
    Create(browser);
    for (const auto& s : kSettings) {
        SCOPED_TRACE(s.Name);
        Fake().Settings.clear();
        (browser.*s.Set)(true);
        EXPECT_EQ(Fake().Settings, (std::map<std::string, BOOL>{{s.Name, 1}}));
        EXPECT_TRUE((browser.*s.Get)());
        (browser.*s.Set)(false);
        EXPECT_FALSE((browser.*s.Get)());
    }
}

TEST_F(EdgeBrowserTest, SettingsFailuresRaiseOnReadingAndAreRecordedOnWriting) {
    TTestBrowser browser;
    Create(browser);
    Fake().Script.SettingsGet = kFailure;
    Fake().Script.SettingsPut = kOtherFailure;
    for (const auto& s : kSettings) {
        SCOPED_TRACE(s.Name);
        ExpectNotInstantiated([&] { (browser.*s.Get)(); });
        EXPECT_EQ(browser.LastErrorCode(), kFailure);
        EXPECT_NO_THROW((browser.*s.Set)(true));
        EXPECT_EQ(browser.LastErrorCode(), kOtherFailure);
    }
}

// One runtime event: how the fake delivers it, and what the control's event shows of it.
struct TEventCase {
    const char* Name;
    std::function<void(TEdgeBrowser&, TFakeArgs&, std::string& seen)> Assign;
    std::function<int(TFakeArgs&)> Fire;
    std::string Expected;
};

template <class H, class A> std::function<int(TFakeArgs&)> FireWith(const char* event) {
    return [event](TFakeArgs& args) { return Fake().Fire<H>(event, nullptr, static_cast<A*>(&args)); };
}

template <class H> std::function<int(TFakeArgs&)> FireWithoutArgs(const char* event) {
    return [event](TFakeArgs&) { return Fake().Fire<H>(event, nullptr, static_cast<IUnknown*>(nullptr)); };
}

// A handler that notes the wrapper it got is around these very arguments.
template <class W> auto Wrapped(TEdgeBrowser& browser, TFakeArgs& args, std::string& seen) {
    return [&browser, &args, &seen](TCustomEdgeBrowser* sender, W& wrapper) {
        const bool same = static_cast<void*>(wrapper.ArgsInterface()) ==
                          static_cast<void*>(static_cast<typename W::Interface*>(&args));
        seen = sender == &browser && same ? "wrapped" : "other";
    };
}

std::vector<TEventCase> EventCases() {
    using NavStarting = ICoreWebView2NavigationStartingEventHandler;
    using NavCompleted = ICoreWebView2NavigationCompletedEventHandler;
    auto text = [](auto... values) {
        std::ostringstream out;
        ((out << values << ' '), ...);
        std::string s = out.str();
        s.pop_back();
        return s;
    };
    return {
        {"NavigationStarting",
         [](auto& b, auto& a, auto& seen) {
             b.OnNavigationStarting = Wrapped<TNavigationStartingEventArgs>(b, a, seen);
         },
         FireWith<NavStarting, ICoreWebView2NavigationStartingEventArgs>("NavigationStarting"), "wrapped"},
        {"FrameNavigationStarting",
         [](auto& b, auto& a, auto& seen) {
             b.OnFrameNavigationStarting = Wrapped<TNavigationStartingEventArgs>(b, a, seen);
         },
         FireWith<NavStarting, ICoreWebView2NavigationStartingEventArgs>("FrameNavigationStarting"),
         "wrapped"},
        {"NavigationCompleted",
         [text](auto& b, auto&, auto& seen) {
             b.OnNavigationCompleted = [&seen, text](TCustomEdgeBrowser*, bool ok,
                                                     COREWEBVIEW2_WEB_ERROR_STATUS s) { seen = text(ok, s); };
         },
         FireWith<NavCompleted, ICoreWebView2NavigationCompletedEventArgs>("NavigationCompleted"), "1 7"},
        {"FrameNavigationCompleted",
         [text](auto& b, auto&, auto& seen) {
             b.OnFrameNavigationCompleted = [&seen, text](TCustomEdgeBrowser*, bool ok,
                                                          COREWEBVIEW2_WEB_ERROR_STATUS s) {
                 seen = text(ok, s);
             };
         },
         FireWith<NavCompleted, ICoreWebView2NavigationCompletedEventArgs>("FrameNavigationCompleted"),
         "1 7"},
        {"SourceChanged",
         [](auto& b, auto&, auto& seen) {
             b.OnSourceChanged = [&seen](TCustomEdgeBrowser*, bool isNew) { seen = isNew ? "new" : "same"; };
         },
         FireWith<ICoreWebView2SourceChangedEventHandler, ICoreWebView2SourceChangedEventArgs>(
             "SourceChanged"),
         "new"},
        {"HistoryChanged",
         [](auto& b, auto&, auto& seen) {
             b.OnHistoryChanged = [&seen](TCustomEdgeBrowser*) { seen = "raised"; };
         },
         FireWithoutArgs<ICoreWebView2HistoryChangedEventHandler>("HistoryChanged"), "raised"},
        {"ContentLoading",
         [text](auto& b, auto&, auto& seen) {
             b.OnContentLoading = [&seen, text](TCustomEdgeBrowser*, bool error, std::uint64_t id) {
                 seen = text(error, id);
             };
         },
         FireWith<ICoreWebView2ContentLoadingEventHandler, ICoreWebView2ContentLoadingEventArgs>(
             "ContentLoading"),
         "1 1234567890123"},
        {"DocumentTitleChanged",
         [](auto& b, auto&, auto& seen) {
             b.OnDocumentTitleChanged = [&seen](TCustomEdgeBrowser*, const std::string& title) {
                 seen = title;
             };
         },
         FireWithoutArgs<ICoreWebView2DocumentTitleChangedEventHandler>("DocumentTitleChanged"), "A title"},
        {"NewWindowRequested",
         [](auto& b, auto& a, auto& seen) {
             b.OnNewWindowRequested = Wrapped<TNewWindowRequestedEventArgs>(b, a, seen);
         },
         FireWith<ICoreWebView2NewWindowRequestedEventHandler, ICoreWebView2NewWindowRequestedEventArgs>(
             "NewWindowRequested"),
         "wrapped"},
        {"WebResourceRequested",
         [](auto& b, auto& a, auto& seen) {
             b.OnWebResourceRequested = Wrapped<TWebResourceRequestedEventArgs>(b, a, seen);
         },
         FireWith<ICoreWebView2WebResourceRequestedEventHandler, ICoreWebView2WebResourceRequestedEventArgs>(
             "WebResourceRequested"),
         "wrapped"},
        {"ScriptDialogOpening",
         [](auto& b, auto& a, auto& seen) {
             b.OnScriptDialogOpening = Wrapped<TScriptDialogOpeningEventArgs>(b, a, seen);
         },
         FireWith<ICoreWebView2ScriptDialogOpeningEventHandler, ICoreWebView2ScriptDialogOpeningEventArgs>(
             "ScriptDialogOpening"),
         "wrapped"},
        {"PermissionRequested",
         [](auto& b, auto& a, auto& seen) {
             b.OnPermissionRequested = Wrapped<TPermissionRequestedEventArgs>(b, a, seen);
         },
         FireWith<ICoreWebView2PermissionRequestedEventHandler, ICoreWebView2PermissionRequestedEventArgs>(
             "PermissionRequested"),
         "wrapped"},
        {"ProcessFailed",
         [](auto& b, auto&, auto& seen) {
             b.OnProcessFailed = [&seen](TCustomEdgeBrowser*, COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
                 seen = std::to_string(kind);
             };
         },
         FireWith<ICoreWebView2ProcessFailedEventHandler, ICoreWebView2ProcessFailedEventArgs>(
             "ProcessFailed"),
         "2"},
        {"WebMessageReceived",
         [](auto& b, auto& a, auto& seen) {
             b.OnWebMessageReceived = Wrapped<TWebMessageReceivedEventArgs>(b, a, seen);
         },
         FireWith<ICoreWebView2WebMessageReceivedEventHandler, ICoreWebView2WebMessageReceivedEventArgs>(
             "WebMessageReceived"),
         "wrapped"},
        {"ContainsFullScreenElementChanged",
         [](auto& b, auto&, auto& seen) {
             b.OnContainsFullScreenElementChanged = [&seen](TCustomEdgeBrowser*, bool full) {
                 seen = full ? "full" : "not full";
             };
         },
         FireWithoutArgs<ICoreWebView2ContainsFullScreenElementChangedEventHandler>(
             "ContainsFullScreenElementChanged"),
         "full"},
        {"WindowCloseRequested",
         [](auto& b, auto&, auto& seen) {
             b.OnWindowCloseRequested = [&seen](TCustomEdgeBrowser*) { seen = "raised"; };
         },
         FireWithoutArgs<ICoreWebView2WindowCloseRequestedEventHandler>("WindowCloseRequested"), "raised"},
        {"ZoomFactorChanged",
         [](auto& b, auto&, auto& seen) {
             b.OnZoomFactorChanged = [&seen](TCustomEdgeBrowser*, double zoom) {
                 seen = std::to_string(zoom);
             };
         },
         FireWithoutArgs<ICoreWebView2ZoomFactorChangedEventHandler>("ZoomFactorChanged"), "1.500000"},
    };
}

TEST_F(EdgeBrowserTest, EventsReadTheirArgumentsOnlyWhenHandled) {
    Fake().Script.ContainsFullScreenElement = true;
    Fake().Script.ZoomFactor = 1.5;
    TTestBrowser browser;
    Create(browser);
    for (const auto& c : EventCases()) {
        SCOPED_TRACE(c.Name);
        const auto args = NewArgs();
        std::string seen;
        EXPECT_EQ(c.Fire(*args.Get()), 1);
        EXPECT_EQ(args->Reads, 0);

        c.Assign(browser, *args.Get(), seen);
        EXPECT_EQ(c.Fire(*args.Get()), 1);
        EXPECT_EQ(seen, c.Expected);
    }
}

TEST_F(EdgeBrowserTest, FullScreenChangesAreNotRaisedWhenTheWebViewCannotTell) {
    TTestBrowser browser;
    int raised = 0;
    browser.OnContainsFullScreenElementChanged = [&](TCustomEdgeBrowser*, bool) { ++raised; };
    Create(browser);
    Fake().Script.ContainsFullScreenElementGet = kFailure;
    Fake().Fire<ICoreWebView2ContainsFullScreenElementChangedEventHandler>(
        "ContainsFullScreenElementChanged", nullptr, static_cast<IUnknown*>(nullptr));
    EXPECT_EQ(raised, 0);
    EXPECT_EQ(browser.LastErrorCode(), kFailure);
}

TEST_F(EdgeBrowserTest, KeysPressedInThePageAreOfferedToTheFormsShortcuts) {
    TTestBrowser browser;
    Create(browser);
    Platform::TKeyMessage offered;
    bool take = false;
    int offers = 0;
    Form.OnShortCut = [&](const Platform::TKeyMessage& message) {
        ++offers;
        offered = message;
        return take;
    };
    auto press = [&](COREWEBVIEW2_KEY_EVENT_KIND kind) {
        auto args = NewArgs();
        args->KeyKind = kind;
        EXPECT_EQ((Fake().Fire<ICoreWebView2AcceleratorKeyPressedEventHandler>(
                      "AcceleratorKeyPressed", nullptr,
                      static_cast<ICoreWebView2AcceleratorKeyPressedEventArgs*>(args.Get()))),
                  1);
        return args;
    };

    const struct {
        COREWEBVIEW2_KEY_EVENT_KIND Kind;
        unsigned Message;
    } kinds[] = {{COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN, 0x0100},
                 {COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP, 0x0101},
                 {COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN, 0x0104},
                 {COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP, 0x0105}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.Message);
        for (const bool taken : {false, true}) {
            take = taken;
            const auto args = press(k.Kind);
            EXPECT_EQ(offered.Message, k.Message);
            EXPECT_EQ(offered.WParam, 0x41u);
            EXPECT_EQ(offered.LParam, static_cast<std::intptr_t>(static_cast<INT>(0xC01E0001u)));
            EXPECT_EQ(args->HandledPuts, taken ? 1 : 0);
            EXPECT_EQ(args->Handled, taken ? 1 : 0);
        }
    }

    // A key whose facts cannot be read, or a control on no form, is left to the page.
    offers = 0;
    take = true;
    {
        auto args = NewArgs();
        args->ReadResult = kFailure;
        Fake().Fire<ICoreWebView2AcceleratorKeyPressedEventHandler>(
            "AcceleratorKeyPressed", nullptr,
            static_cast<ICoreWebView2AcceleratorKeyPressedEventArgs*>(args.Get()));
        EXPECT_EQ(args->Reads, 1);
        EXPECT_EQ(args->HandledPuts, 0);
    }
    browser.SetParent(static_cast<Platform::TWinControl*>(nullptr));
    EXPECT_EQ(press(COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN)->HandledPuts, 0);
    EXPECT_EQ(offers, 0);
}

TEST_F(EdgeBrowserTest, FocusTakenByThePageEntersTheControlWithoutMovingItBack) {
    TTestBrowser browser;
    int enters = 0, exits = 0;
    browser.OnEnter = [&] { ++enters; };
    browser.OnExit = [&] { ++exits; };
    Create(browser);
    Fake().ClearCalls();

    Fake().Fire<ICoreWebView2FocusChangedEventHandler>("GotFocus", nullptr, static_cast<IUnknown*>(nullptr));
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(Fake().Count("MoveFocus 0"), 0);
    Fake().Fire<ICoreWebView2FocusChangedEventHandler>("LostFocus", nullptr, static_cast<IUnknown*>(nullptr));
    EXPECT_EQ(exits, 1);

    browser.DoEnter();
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(Fake().Count("MoveFocus 0"), 1);
    browser.SetFocus();
    EXPECT_EQ(Fake().Count("MoveFocus 0"), 2);

    // Tabbing out of the page is left to the runtime.
    const auto args = NewArgs();
    Fake().Fire<ICoreWebView2MoveFocusRequestedEventHandler>(
        "MoveFocusRequested", nullptr, static_cast<ICoreWebView2MoveFocusRequestedEventArgs*>(args.Get()));
    EXPECT_EQ(args->Reads, 0);
    EXPECT_EQ(args->HandledPuts, 0);
}

TEST_F(EdgeBrowserTest, SubscribingAgainToADevToolsEventReplacesTheSubscription) {
    const std::string event = "DevTools Page.loadEventFired";
    TTestBrowser browser;
    std::vector<std::string> received;
    browser.OnDevToolsProtocolEventReceived = [&](TCustomEdgeBrowser*, const std::string& name,
                                                  const std::string& json) {
        received.push_back(name + " " + json);
    };
    browser.SubscribeToCDPEvent("Page.loadEventFired"); // no web view: nothing
    Create(browser);
    browser.SubscribeToCDPEvent("Page.loadEventFired");
    browser.SubscribeToCDPEvent("Page.loadEventFired");

    const auto added = Fake().CallsStartingWith("add " + event + " ");
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(Fake().CallsStartingWith("remove " + event + " "), std::vector<std::string>{added[0]});
    EXPECT_EQ(Fake().HandlerCount(event), 1u);

    const auto args = NewArgs();
    Fake().Fire<ICoreWebView2DevToolsProtocolEventReceivedEventHandler>(
        event, nullptr, static_cast<ICoreWebView2DevToolsProtocolEventReceivedEventArgs*>(args.Get()));
    EXPECT_EQ(received, std::vector<std::string>{"Page.loadEventFired {\"timestamp\":1}"});

    browser.CloseWebView();
    EXPECT_EQ(Fake().CallsStartingWith("remove " + event + " ").back(), added[1]);
    EXPECT_EQ(Fake().HandlerCount(event), 0u);
}

TEST_F(EdgeBrowserTest, CapturePreviewWritesTheImageIntoATruncatedFile) {
    const auto path = std::filesystem::temp_directory_path() / ("crv-capture-" + std::to_string(getpid()));
    std::ofstream(path) << "an older and longer content";
    TTestBrowser browser;
    std::vector<HRESULT> results;
    browser.OnCapturePreviewCompleted = [&](TCustomEdgeBrowser*, HRESULT result) {
        results.push_back(result);
    };
    Create(browser);
    browser.CapturePreview(path.string(), TPreviewFormat::JPEG);
    ASSERT_TRUE(PumpUntil([&] { return !results.empty(); }));

    EXPECT_EQ(results, std::vector<HRESULT>{S_OK});
    EXPECT_EQ(Fake().CallsStartingWith("CapturePreview "), std::vector<std::string>{"1"});
    std::ifstream file(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "IMAGE");
    std::filesystem::remove(path);
}

pid_t Spawn(const char* script) {
    pid_t pid = 0;
    const char* argv[] = {"/bin/sh", "-c", script, nullptr};
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return 0;
    return pid;
}

TEST_F(EdgeBrowserTest, CloseBrowserProcessWaitsForTheProcessAndKillsItOnlyWhenItStays) {
    const struct {
        const char* Name;
        const char* Script;
        bool Killed;
    } cases[] = {{"ends in time", "sleep 0.3; exit 7", false}, {"stays", "exec sleep 30", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Fake().Reset();
        const pid_t child = Spawn(c.Script);
        ASSERT_GT(child, 0);
        Fake().Script.BrowserProcessId = static_cast<std::uint32_t>(child);
        TTestBrowser browser;
        Create(browser);

        const auto start = std::chrono::steady_clock::now();
        browser.CloseBrowserProcess();
        const auto waited = std::chrono::steady_clock::now() - start;
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        EXPECT_EQ(browser.DefaultInterface(), nullptr);
        EXPECT_EQ(Fake().Count("Close"), 1);
        if (c.Killed) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
            EXPECT_GE(waited, 1900ms);
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7);
            EXPECT_LT(waited, 1500ms);
        }
    }
}

TEST_F(EdgeBrowserTest, CloseBrowserProcessLeavesNoProcessAndOurOwnAlone) {
    for (const std::uint32_t id : {0u, static_cast<std::uint32_t>(getpid()), 0x80000001u}) {
        SCOPED_TRACE(id);
        Fake().Reset();
        Fake().Script.BrowserProcessId = id;
        TTestBrowser browser;
        Create(browser);
        const auto start = std::chrono::steady_clock::now();
        browser.CloseBrowserProcess();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
        EXPECT_EQ(Fake().Count("Close"), 1);
    }
}

} // namespace
