// The dispatcher against hand-made web messages: who may call, which messages reach a handler, and
// the rule for functions that need a package. app.close is the probe: it answers nothing and only
// raises the module's close request.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "FakeWebMessage.h"
#include "bridge/BrowserExternalModule.h"
#include "shared/ZipReader.h"

using namespace Corvane::Shared;
using namespace Corvane::Browser;
using namespace Corvane::Bridge;
using namespace WebView2;
using TestMessages::TFakeMessage;

namespace {

class BridgeDispatch : public testing::Test {
protected:
    void SetUp() override {
        // A runtime-only refusal shows a box; without a display it is only written to stderr.
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        // Should a power action ever be reached, it could not get to the system.
        setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/crv-test-bus", 1);
        module.ExeZip = &zip;
        module.OnAppCloseRequest = [this](TBrowserExternalModule* sender) {
            EXPECT_EQ(sender, &module);
            ++closeRequests;
        };
    }
    // Delivers one message; what the dispatcher wrote to stderr.
    std::string Deliver(const std::string& json, const std::string& source = "file:///index.html",
                        bool isString = false) {
        const auto args = ComPtr<ICoreWebView2WebMessageReceivedEventArgs>::Attach(
            new TFakeMessage(source, json, isString));
        TWebMessageReceivedEventArgs wrapped(args.Get());
        testing::internal::CaptureStderr();
        module.EdgeBrowserWebMessageReceived(nullptr, wrapped);
        return testing::internal::GetCapturedStderr();
    }

    TZipReader zip; // never opened: only its presence matters here
    TBrowserExternalModule module;
    int closeRequests = 0;
};

} // namespace

TEST_F(BridgeDispatch, OnlyTheApplicationsOwnPagesAreServed) {
    const std::string close = R"({"id": 50001, "uuid": "u", "data": {}})";
    for (const char* source :
         {"http://127.0.0.1:8000/x.html", "https://example.org/", "about:blank", "data:text/html,x", ""})
        Deliver(close, source);
    EXPECT_EQ(closeRequests, 0);
    Deliver(close, "FILE:///index.html");
    Deliver(close, "file:///C:/app/page.html");
    EXPECT_EQ(closeRequests, 2);
}

TEST_F(BridgeDispatch, WhichMessagesReachAHandler) {
    const struct {
        const char* json;
        bool handled;
        bool reported; // a line on stderr: the call failed without reply
    } cases[] = {
        {R"({"id": 50001, "uuid": "u", "data": {}})", true, false},
        {R"({"id": "50001", "uuid": "u", "data": {}})", true, false},
        {R"({"data": {}, "uuid": "u", "id": 50001, "extra": 1})", true, false},
        {R"({"id": 99999, "uuid": "u", "data": {}})", false, false},
        {R"({"id": "fifty", "uuid": "u", "data": {}})", false, false},
        {R"({"id": 50001, "uuid": "u"})", false, true},
        {R"({"id": 50001, "data": {}})", false, true},
        {R"({"uuid": "u", "data": {}})", false, true},
        {R"({"id": 50001, "uuid": "u", "data": []})", false, true},
        {R"({"id": 50001, "uuid": "u", "data": null})", false, true},
        {R"({"id": {}, "uuid": "u", "data": {}})", false, true},
        {R"([50001, "u", {}])", false, true},
        {R"(not json)", false, true},
    };
    for (const auto& c : cases) {
        const int before = closeRequests;
        const std::string err = Deliver(c.json);
        EXPECT_EQ(closeRequests - before, c.handled ? 1 : 0) << c.json;
        EXPECT_EQ(!err.empty(), c.reported) << c.json << "\n" << err;
    }
}

TEST_F(BridgeDispatch, AReplyWithNowhereToGoIsReportedWithItsUuid) {
    // No browser form here: the reply cannot be posted.
    const std::string err = Deliver(R"({"id": 10001, "uuid": "a\"b", "data": {}})");
    EXPECT_NE(err.find(R"(reply to bridge call "a\"b" could not be posted)"), std::string::npos) << err;
    // The click message of pages outside the runtime is the browser form's; here it is no call.
    module.ExeZip = nullptr;
    EXPECT_NE(Deliver("\"crv-webbrowser-clicked\"", "file:///index.html", true), "");
}

TEST_F(BridgeDispatch, WithoutAPackageRuntimeOnlyFunctionsOnlySaySo) {
    module.ExeZip = nullptr;
    const struct {
        int id;
        const char* name;
    } cases[] = {
        {11001, "crv.system.logoff()"},       {11002, "crv.system.reboot()"},
        {11003, "crv.system.shutdown()"},     {30004, "crv.app.extractFile()"},
        {50003, "crv.app.enterFullscreen()"}, {50004, "crv.app.exitFullscreen()"},
    };
    for (const auto& c : cases) {
        const std::string err =
            Deliver(R"({"id": )" + std::to_string(c.id) + R"(, "uuid": "u", "data": {"sourceFile": "/x"}})");
        EXPECT_NE(err.find(std::string("Calls to ") + c.name + " works only at runtime."), std::string::npos)
            << c.id << ": " << err;
    }
    // app.close is not runtime-only.
    Deliver(R"({"id": 50001, "uuid": "u", "data": {}})");
    EXPECT_EQ(closeRequests, 1);
}
