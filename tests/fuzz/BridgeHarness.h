// One bridge module for the whole fuzzing run, as the runtime sets it up: a browser form on a form,
// its browser made by the fake loader library (which records every reply posted), and an empty
// package. Deliver hands a message over the way the browser does.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "../unit/FakeLoader.h"
#include "../unit/FakeWebMessage.h"
#include "FuzzTarget.h"
#include "bridge/BrowserExternalModule.h"
#include "browser/BrowserForm.h"
#include "platform/Form.h"
#include "shared/ProjectIni.h"
#include "shared/ZipReader.h"

namespace Fuzz {

class TBridge {
public:
    static TBridge& Get() {
        static TBridge bridge;
        return bridge;
    }

    // The replies the message got.
    std::vector<std::string> Deliver(const std::string& message) {
        using namespace Corvane::Browser;
        FakeLoader::Fake().ClearCalls();
        const auto args = WebView2::ComPtr<WebView2::ICoreWebView2WebMessageReceivedEventArgs>::Attach(
            new TestMessages::TFakeMessage("file:///app/index.html", message, false));
        TWebMessageReceivedEventArgs wrapped(args.Get());
        FModule.EdgeBrowserWebMessageReceived(&FBrowserForm->EdgeBrowser(), wrapped);
        return FakeLoader::Fake().CallsStartingWith("PostWebMessageAsJson ");
    }

    // Each reply must be a JSON object that answers uuid.
    static void CheckReplies(const std::vector<std::string>& replies, const std::string& uuid) {
        Check(replies.size() <= 1, "a call has at most one reply");
        for (const std::string& reply : replies) {
            const auto parsed = nlohmann::json::parse(reply, nullptr, false);
            Check(parsed.is_object() && parsed.size() == 3, "a reply is a JSON object of three members");
            Check(parsed.value("uuid", std::string("\x01")) == uuid, "a reply answers the call's uuid");
        }
    }

    Corvane::Bridge::TBrowserExternalModule& Module() { return FModule; }

private:
    TBridge() {
        // Nothing of the fuzzing may reach a display or the system bus.
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/crv-fuzz-bus", 1);
        Check(FakeLoader::FakeState() != nullptr, "the fake browser library loads");
        FakeLoader::Fake().Reset();
        Corvane::Browser::EdgeLoaderDllPath = FakeLoader::kPath;
        FIni.LoadFromText("[App]\nDirName=app\n");
        FForm.SetBounds(0, 0, 400, 300);
        FBrowserForm = std::make_unique<Corvane::Browser::TBrowserForm>();
        FBrowserForm->SetParent(&FForm);
        Check(FakeLoader::PumpUntil(
                  [this] { return FBrowserForm->EdgeBrowser().DefaultInterface() != nullptr; }),
              "the fake browser starts");
        FModule.BrowserForm = FBrowserForm.get();
        FModule.MainForm = &FForm;
        FModule.ProjectINI = &FIni;
        FModule.ExeZip = &FZip; // never opened: the package's presence is what counts
        FModule.OnAppCloseRequest = [](Corvane::Bridge::TBrowserExternalModule*) {};
    }

    Corvane::Shared::TZipReader FZip;
    Corvane::Shared::TProjectIni FIni;
    Platform::TForm FForm;
    std::unique_ptr<Corvane::Browser::TBrowserForm> FBrowserForm;
    Corvane::Bridge::TBrowserExternalModule FModule;
};

} // namespace Fuzz
