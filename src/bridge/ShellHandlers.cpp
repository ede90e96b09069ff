// shell.* and base64.*: starting programs, command output, window captions, decoding to a file.
#include "bridge/BrowserExternalModule.h"

#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

#include <nlohmann/json.hpp>

#include "abi/Utf.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "shared/Base64.h"
#include "shared/SysUtils.h"

namespace Corvane::Bridge {

using namespace Corvane::Shared;
using namespace Corvane::Browser;

TBridgeOutcome TBrowserExternalModule::ShellExecuteFile(const TJsonValue& data) {
    const std::string path = ReadStringArg(data, "filePath", "");
    if (path.empty()) return TBridgeOutcome::Reject("Missing filePath");
    const std::string arguments = ReadStringArg(data, "arguments", "");
    return SystemOutcome(TSysUtils::ShellExec(path, arguments));
}

TBridgeOutcome TBrowserExternalModule::ShellExploreFile(const TJsonValue& data) {
    const std::string path = ReadStringArg(data, "filePath", "");
    if (path.empty()) return TBridgeOutcome::Reject("Missing filePath");
    return SystemOutcome(TSysUtils::ShellExplore(path));
}

TBridgeOutcome TBrowserExternalModule::ShellCommand(const TJsonValue& data) {
    const std::string command = ReadStringArg(data, "command", "");
    if (command.empty()) return TBridgeOutcome::Reject("Missing command");
    const std::string workingDir = ReadStringArg(data, "workingDir", "");
    const bool showWindow = ReadStringArg(data, "showWindow", "false") == "true";
    // The exit code is not reported: a failing command answers with whatever it wrote.
    return TBridgeOutcome::Result(TSysUtils::GetDosOutput(command, workingDir, showWindow));
}

TBridgeOutcome TBrowserExternalModule::ShellWindows(const TJsonValue&) {
    std::vector<std::string> captions;
    TSysUtils::GetWindowsCaptions(captions);
    return TBridgeOutcome::Result(captions);
}

TBridgeOutcome TBrowserExternalModule::Base64DecodeToFile(const TJsonValue& data) {
    const std::string path = ReadAppPathArg(data, "filePath");
    if (path.empty()) return TBridgeOutcome::Reject("Missing filePath");
    std::error_code ignored; // a folder that cannot be made shows as the write's failure
    std::filesystem::create_directories(Abi::Utf8Path(path).parent_path(), ignored);
    std::string contents;
    try {
        contents = ReadStringArg(data, "contents", "");
    } catch (const std::exception& error) {
        return TBridgeOutcome::Reject(error.what());
    }
    std::string bytes;
    if (!Base64Decode(contents, bytes)) return TBridgeOutcome::Reject(kInvalidBase64Text);
    // The file is replaced only once the new bytes are complete, so a failed write keeps the old one.
    int code = 0;
    if (!Platform::WriteFileReplacing(path, bytes, code))
        return TBridgeOutcome::Reject(CannotWriteText(path, code));
    return TBridgeOutcome::Result(true);
}

} // namespace Corvane::Bridge
