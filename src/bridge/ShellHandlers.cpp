// shell.* and base64.*: starting programs, command output, window captions, decoding to a file.
#include "bridge/BrowserExternalModule.h"

#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/Files.h"
#include "platform/Process.h"
#include "shared/Base64.h"
#include "shared/StrUtils.h"
#include "shared/SysUtils.h"

namespace Corvane::Shared {

void TBrowserExternalModule::ShellExecuteFile(const std::string& UUID, const TJsonValue& Data) {
    const std::string path = ReadStringArg(Data, "filePath", "");
    if (path.empty()) return SendError(UUID, "\"Missing filePath\"");
    const std::string arguments = ReadStringArg(Data, "arguments", "");
    SendSystemReply(UUID, TSysUtils::ShellExec(path, arguments));
}

void TBrowserExternalModule::ShellExploreFile(const std::string& UUID, const TJsonValue& Data) {
    const std::string path = ReadStringArg(Data, "filePath", "");
    if (path.empty()) return SendError(UUID, "\"Missing filePath\"");
    SendSystemReply(UUID, TSysUtils::ShellExplore(path));
}

void TBrowserExternalModule::ShellCommand(const std::string& UUID, const TJsonValue& Data) {
    const std::string command = ReadStringArg(Data, "command", "");
    if (command.empty()) return SendError(UUID, "\"Missing command\"");
    const std::string workingDir = ReadStringArg(Data, "workingDir", "");
    const bool showWindow = ReadStringArg(Data, "showWindow", "false") == "true";
    // The exit code is not reported: a failing command answers with whatever it wrote.
    SendSuccess(UUID,
                TStrUtils::StringToJsonString(TSysUtils::GetDosOutput(command, workingDir, showWindow)));
}

void TBrowserExternalModule::ShellWindows(const std::string& UUID, const TJsonValue&) {
    std::vector<std::string> captions;
    TSysUtils::GetWindowsCaptions(captions);
    std::string list = "[";
    for (size_t i = 0; i < captions.size(); ++i) {
        if (i > 0) list += ',';
        list += TStrUtils::StringToJsonString(captions[i]);
    }
    list += ']';
    SendSuccess(UUID, list);
}

void TBrowserExternalModule::Base64DecodeToFile(const std::string& UUID, const TJsonValue& Data) {
    const std::string path = ReadAppPathArg(UUID, Data, "filePath", "\"Missing filePath\"");
    if (path.empty()) return;
    std::error_code ignored; // a folder that cannot be made shows as the write's failure
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::string contents;
    try {
        contents = ReadStringArg(Data, "contents", "");
    } catch (const std::exception& error) {
        return SendError(UUID, TStrUtils::StringToJsonString(error.what()));
    }
    std::string bytes;
    if (!Base64Decode(contents, bytes))
        return SendError(UUID, TStrUtils::StringToJsonString(kInvalidBase64Text));
    // The file is replaced only once the new bytes are complete, so a failed write keeps the old one.
    int code = 0;
    if (!Platform::WriteFileReplacing(path, bytes, code)) return SendError(UUID, CannotWriteText(path, code));
    SendSuccess(UUID, "true");
}

} // namespace Corvane::Shared
