// The app, window and system functions: identity, closing, full screen, the main window's
// stacking, state and title, and the power actions.
#include "bridge/BrowserExternalModule.h"

#include <nlohmann/json.hpp>

#include "platform/Form.h"
#include "platform/Process.h"
#include "shared/ProjectIni.h"
#include "shared/StrUtils.h"
#include "shared/SysUtils.h"
#include "shared/WindowBorder.h"

namespace Corvane::Bridge {

using namespace Corvane::Shared;
using namespace Corvane::Browser;

namespace {

constexpr const char* kVersionText = "2021.47";

// Power actions: log off, shut down, reboot, each forced.
constexpr std::uint32_t kLogoff = 4;
constexpr std::uint32_t kShutdown = 5;
constexpr std::uint32_t kReboot = 6;

} // namespace

TBridgeOutcome TBrowserExternalModule::Hello(const TJsonValue&) {
    return TBridgeOutcome::Result(kVersionText);
}

TBridgeOutcome TBrowserExternalModule::IsRuntime(const TJsonValue&) {
    return TBridgeOutcome::Result(ExeZip != nullptr);
}

TBridgeOutcome TBrowserExternalModule::SystemLogoff(const TJsonValue&) {
    return SystemOutcome(TSysUtils::ExitWindows(kLogoff));
}

TBridgeOutcome TBrowserExternalModule::SystemReboot(const TJsonValue&) {
    return SystemOutcome(TSysUtils::ExitWindows(kReboot));
}

TBridgeOutcome TBrowserExternalModule::SystemShutdown(const TJsonValue&) {
    return SystemOutcome(TSysUtils::ExitWindows(kShutdown));
}

TBridgeOutcome TBrowserExternalModule::AppClose(const TJsonValue&) {
    // The last action: the main window may close inside this call.
    if (OnAppCloseRequest) OnAppCloseRequest(this);
    return TBridgeOutcome::NoReply();
}

TBridgeOutcome TBrowserExternalModule::AppInFullscreen(const TJsonValue&) {
    return TBridgeOutcome::Result(InFullscreen);
}

TBridgeOutcome TBrowserExternalModule::AppEnterFullscreen(const TJsonValue&) {
    if (InFullscreen || !MainForm) return TBridgeOutcome::NoReply();
    InFullscreen = true;
    MainForm->SetBorderStyle(Platform::TBorderStyle::None);
    MainForm->SetWindowState(Platform::TWindowState::Maximized);
    return TBridgeOutcome::NoReply();
}

TBridgeOutcome TBrowserExternalModule::AppExitFullscreen(const TJsonValue&) {
    if (!InFullscreen || !MainForm) return TBridgeOutcome::NoReply();
    InFullscreen = false;
    MainForm->SetWindowState(Platform::TWindowState::Normal);
    const int border = ProjectINI ? ProjectINI->ReadInteger("App", "WindowBorder", 2) : 2;
    MainForm->SetBorderStyle(Shared::BorderStyleFromSetting(border));
    return TBridgeOutcome::NoReply();
}

TBridgeOutcome TBrowserExternalModule::WindowGetStyle(const TJsonValue&) {
    return TBridgeOutcome::Result(MainForm && MainForm->StayOnTop() ? "ontop" : "normal");
}

TBridgeOutcome TBrowserExternalModule::WindowSetStyle(const TJsonValue& data) {
    const bool onTop = ReadStringArg(data, "style", "normal") == "ontop";
    if (MainForm) MainForm->SetStayOnTop(onTop);
    return TBridgeOutcome::Result(true);
}

TBridgeOutcome TBrowserExternalModule::WindowGetState(const TJsonValue&) {
    const auto state = MainForm ? MainForm->WindowState() : Platform::TWindowState::Normal;
    return TBridgeOutcome::Result(state == Platform::TWindowState::Minimized   ? "minimized"
                                  : state == Platform::TWindowState::Maximized ? "maximized"
                                                                               : "normal");
}

TBridgeOutcome TBrowserExternalModule::WindowSetState(const TJsonValue& data) {
    const std::string state = ReadStringArg(data, "state", "normal");
    if (MainForm) {
        if (state == "normal")
            MainForm->SetWindowState(Platform::TWindowState::Normal);
        else if (state == "minimized")
            MainForm->SetWindowState(Platform::TWindowState::Minimized);
        else if (state == "maximized")
            MainForm->SetWindowState(Platform::TWindowState::Maximized);
    }
    return TBridgeOutcome::Result(true);
}

TBridgeOutcome TBrowserExternalModule::WindowGetTitle(const TJsonValue&) {
    return TBridgeOutcome::Result(MainForm ? MainForm->Caption() : std::string());
}

TBridgeOutcome TBrowserExternalModule::WindowSetTitle(const TJsonValue& data) {
    const std::string title = ReadStringArg(data, "title", "");
    if (MainForm) MainForm->SetCaption(title);
    return TBridgeOutcome::Result(true);
}

} // namespace Corvane::Bridge
