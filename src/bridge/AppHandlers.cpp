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

namespace Corvane::Shared {

namespace {

constexpr const char* kVersionText = "\"2021.47\"";

// Power actions: log off, shut down, reboot, each forced.
constexpr std::uint32_t kLogoff = 4;
constexpr std::uint32_t kShutdown = 5;
constexpr std::uint32_t kReboot = 6;

} // namespace

void TBrowserExternalModule::Hello(const std::string& UUID, const TJsonValue&) {
    SendSuccess(UUID, kVersionText);
}

void TBrowserExternalModule::IsRuntime(const std::string& UUID, const TJsonValue&) {
    SendSuccess(UUID, JsonBool(ExeZip != nullptr));
}

void TBrowserExternalModule::SendPowerActionReply(const std::string& UUID, std::uint32_t Flags) {
    SendSystemReply(UUID, TSysUtils::ExitWindows(Flags));
}

void TBrowserExternalModule::SystemLogoff(const std::string& UUID, const TJsonValue&) {
    SendPowerActionReply(UUID, kLogoff);
}

void TBrowserExternalModule::SystemReboot(const std::string& UUID, const TJsonValue&) {
    SendPowerActionReply(UUID, kReboot);
}

void TBrowserExternalModule::SystemShutdown(const std::string& UUID, const TJsonValue&) {
    SendPowerActionReply(UUID, kShutdown);
}

void TBrowserExternalModule::AppClose(const std::string&, const TJsonValue&) {
    // The last action: the main window may close inside this call.
    if (OnAppCloseRequest) OnAppCloseRequest(this);
}

void TBrowserExternalModule::AppInFullscreen(const std::string& UUID, const TJsonValue&) {
    SendSuccess(UUID, JsonBool(InFullscreen));
}

void TBrowserExternalModule::AppEnterFullscreen(const std::string&, const TJsonValue&) {
    if (InFullscreen || !MainForm) return;
    InFullscreen = true;
    MainForm->SetBorderStyle(Platform::TBorderStyle::None);
    MainForm->SetWindowState(Platform::TWindowState::Maximized);
}

void TBrowserExternalModule::AppExitFullscreen(const std::string&, const TJsonValue&) {
    if (!InFullscreen || !MainForm) return;
    InFullscreen = false;
    MainForm->SetWindowState(Platform::TWindowState::Normal);
    const int border = ProjectINI ? ProjectINI->ReadInteger("App", "WindowBorder", 2) : 2;
    MainForm->SetBorderStyle(Runtime::BorderStyleFromSetting(border));
}

void TBrowserExternalModule::WindowGetStyle(const std::string& UUID, const TJsonValue&) {
    SendSuccess(UUID, MainForm && MainForm->StayOnTop() ? "\"ontop\"" : "\"normal\"");
}

void TBrowserExternalModule::WindowSetStyle(const std::string& UUID, const TJsonValue& Data) {
    const bool onTop = ReadStringArg(Data, "style", "normal") == "ontop";
    if (MainForm) MainForm->SetStayOnTop(onTop);
    SendSuccess(UUID, "true");
}

void TBrowserExternalModule::WindowGetState(const std::string& UUID, const TJsonValue&) {
    const auto state = MainForm ? MainForm->WindowState() : Platform::TWindowState::Normal;
    SendSuccess(UUID, state == Platform::TWindowState::Minimized   ? "\"minimized\""
                      : state == Platform::TWindowState::Maximized ? "\"maximized\""
                                                                   : "\"normal\"");
}

void TBrowserExternalModule::WindowSetState(const std::string& UUID, const TJsonValue& Data) {
    const std::string state = ReadStringArg(Data, "state", "normal");
    if (MainForm) {
        if (state == "normal")
            MainForm->SetWindowState(Platform::TWindowState::Normal);
        else if (state == "minimized")
            MainForm->SetWindowState(Platform::TWindowState::Minimized);
        else if (state == "maximized")
            MainForm->SetWindowState(Platform::TWindowState::Maximized);
    }
    SendSuccess(UUID, "true");
}

void TBrowserExternalModule::WindowGetTitle(const std::string& UUID, const TJsonValue&) {
    SendSuccess(UUID, TStrUtils::StringToJsonString(MainForm ? MainForm->Caption() : std::string()));
}

void TBrowserExternalModule::WindowSetTitle(const std::string& UUID, const TJsonValue& Data) {
    const std::string title = ReadStringArg(Data, "title", "");
    if (MainForm) MainForm->SetCaption(title);
    SendSuccess(UUID, "true");
}

} // namespace Corvane::Shared
