// The program: start-up, the single-instance rule, then the main window until it closes.
#include "runtime/Program.h"

#include <exception>
#include <stdexcept>

#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/InstanceLock.h"
#include "platform/Process.h"
#include "runtime/CommandLine.h"
#include "runtime/ExeZipLoader.h"
#include "runtime/MainForm.h"
#include "shared/MimeTable.h"

namespace Corvane::Runtime {

using namespace Corvane::Shared;
using namespace Corvane::Browser;
using namespace Corvane::Bridge;

namespace {

// Another instance of this application runs, and this start is not a hand-over from it.
bool AnotherInstanceRuns() {
    if (ProjectINI->ReadBool("App", "AllowInstances", false)) return false;
    // The lock is held until this process ends; if it cannot be made at all, run anyway.
    return Platform::CreateNamedLock(RuntimeAppID) == Platform::TLockResult::AlreadyExists &&
           !TCommandLine::IsHandOver(RuntimeAppID);
}

int RunMainWindow() {
    // Served pages need the system's content types: they are read while the toolkit and the browser
    // start, not when the first page is asked for.
    const auto contentTypes = Shared::Mime::PrepareProcessMimeTable();
    if (!Platform::EnsureUiInitialized()) throw std::runtime_error("Cannot open the display");
    TMainForm mainForm;
    mainForm.Show();
    Platform::RunMainLoop();
    return 0;
}

} // namespace

int RunProgram(std::vector<std::string> args) {
    TCommandLine::Set(std::move(args));
    try {
        LoadExeZip();
        if (AnotherInstanceRuns()) return 0;
        return RunMainWindow();
    } catch (const std::exception& error) {
        Platform::ShowErrorBox(error.what(), "Error");
        return 1;
    }
}

} // namespace Corvane::Runtime
