// System functions that start programs: opening, restarting, running and waiting.
#include "shared/SysUtils.h"

#include "platform/Application.h"
#include "platform/ImageEditor.h"
#include "platform/Process.h"
#include "platform/Shell.h"
#include "platform/Spawn.h"
#include "shared/CommandLineText.h"

namespace Corvane::Shared {

bool TSysUtils::ShellOpen(const std::string& filePath) {
    return Platform::ShellOpen(filePath, {});
}

bool TSysUtils::RestartApplication() {
    const std::string executable = Platform::GetExecutablePath();
    if (executable.empty() || !ShellOpen(executable)) return false;
    Platform::QuitMainLoop();
    return true;
}

std::uint32_t TSysUtils::ExecAndWait(const std::string& commandLine) {
    const auto exitCode = Platform::RunHiddenAndWait(SplitCommandLineText(commandLine));
    return exitCode ? static_cast<std::uint32_t>(*exitCode) : 0;
}

bool TSysUtils::ExecCmd(const std::string& commandLine, bool wait) {
    return Platform::StartInNewProcessGroup(SplitCommandLineText(commandLine), wait);
}

bool TSysUtils::EditWithMSPaint(const std::string& filePath) {
    return Platform::OpenInImageEditor(filePath);
}

} // namespace Corvane::Shared
