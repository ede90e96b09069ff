// The files and folders functions: tests, deletes, text files, files of the package, and the
// paths of well-known folders.
#include <filesystem>
#include <system_error>
#include <vector>

#include <nlohmann/json.hpp>

#include "bridge/AppPath.h"
#include "bridge/BrowserExternalModule.h"
#include "browser/BrowserForm.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "shared/ProjectIni.h"
#include "shared/StrUtils.h"
#include "shared/SysUtils.h"
#include "shared/ZipReader.h"

namespace Corvane::Shared {

namespace {

namespace fs = std::filesystem;

bool IsFile(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error) && !fs::is_directory(path, error);
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// Deletes one file; a folder is not a file.
bool DeleteFile(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(fs::symlink_status(path, error))) return false;
    return fs::remove(path, error) && !error;
}

} // namespace

std::string TBrowserExternalModule::ReadAppPathArg(const std::string& UUID, const TJsonValue& Data,
                                                   const char* Key, const char* MissingText) {
    const std::string path = ReadStringArg(Data, Key, "");
    if (path.empty()) {
        SendError(UUID, MissingText);
        return {};
    }
    return ResolveAppPath(path, BrowserForm ? BrowserForm->AppDirPath : Platform::GetExecutableFolder());
}

void TBrowserExternalModule::FilesFileExists(const std::string& UUID, const TJsonValue& Data) {
    const std::string path = ReadAppPathArg(UUID, Data, "filePath", "\"Missing filePath\"");
    if (!path.empty()) SendSuccess(UUID, JsonBool(IsFile(path)));
}

void TBrowserExternalModule::FilesDeleteFile(const std::string& UUID, const TJsonValue& Data) {
    const std::string path = ReadAppPathArg(UUID, Data, "filePath", "\"Missing filePath\"");
    if (!path.empty()) SendSuccess(UUID, JsonBool(DeleteFile(path)));
}

void TBrowserExternalModule::FoldersDirExists(const std::string& UUID, const TJsonValue& Data) {
    const std::string path = ReadAppPathArg(UUID, Data, "dirPath", "\"Missing dirPath\"");
    if (!path.empty()) SendSuccess(UUID, JsonBool(IsFolder(path)));
}

void TBrowserExternalModule::FoldersDeleteDir(const std::string& UUID, const TJsonValue& Data) {
    const std::string path = ReadAppPathArg(UUID, Data, "dirPath", "\"Missing dirPath\"");
    if (!path.empty()) SendSuccess(UUID, JsonBool(TSysUtils::DeleteDirectory(path)));
}

void TBrowserExternalModule::FilesWriteTextFile(const std::string& UUID, const TJsonValue& Data) {
    const std::string path = ReadAppPathArg(UUID, Data, "filePath", "\"Missing filePath\"");
    if (path.empty()) return;
    std::error_code ignored; // a folder that cannot be made shows as the write's failure
    fs::create_directories(fs::path(path).parent_path(), ignored);
    std::string contents;
    try {
        contents = ReadStringArg(Data, "contents", "");
    } catch (const std::exception& error) {
        SendError(UUID, TStrUtils::StringToJsonString(error.what()));
        return;
    }
    int code = 0;
    if (!Platform::WriteFileReplacing(path, TextFileBytes(contents), code)) {
        SendError(UUID, CannotWriteText(path, code));
        return;
    }
    SendSuccess(UUID, "true");
}

void TBrowserExternalModule::FilesExtractFile(const std::string& UUID, const TJsonValue& Data) {
    const std::string sourceFile = ReadStringArg(Data, "sourceFile", "");
    if (sourceFile.empty()) return SendError(UUID, "\"Missing sourceFile\"");
    // Used as given: relative to the current folder, in a folder that must exist.
    const std::string targetFile = ReadStringArg(Data, "targetFile", "");
    if (targetFile.empty()) return SendError(UUID, "\"Missing targetFile\"");

    const std::string dirName = ProjectINI ? ProjectINI->ReadString("App", "DirName", "") : std::string();
    const std::string entryName = dirName + sourceFile;
    // The entry is read whole before the target is touched, so a wrong name or a damaged entry
    // never costs the file already at the target.
    if (!ExeZip || ExeZip->FindFile(entryName) < 0) return SendError(UUID, "\"File not found\"");
    std::vector<std::uint8_t> content;
    if (!ExeZip->ExtractToStream(entryName, content))
        return SendError(
            UUID, TStrUtils::StringToJsonString("Cannot extract \"" + entryName + "\" from the package"));
    int code = 0;
    const std::string_view bytes(reinterpret_cast<const char*>(content.data()), content.size());
    if (!Platform::WriteFileReplacing(targetFile, bytes, code))
        return SendError(UUID, CannotWriteText(targetFile, code));
    SendSuccess(UUID, "true");
}

void TBrowserExternalModule::FoldersGetTempDir(const std::string& UUID, const TJsonValue&) {
    SendSuccess(UUID, TStrUtils::StringToJsonString(TSysUtils::GetTempDirPath()));
}

void TBrowserExternalModule::FoldersGetUserDocumentsDir(const std::string& UUID, const TJsonValue&) {
    SendSuccess(UUID, TStrUtils::StringToJsonString(TSysUtils::GetUserDocumentsDirPath()));
}

void TBrowserExternalModule::FoldersGetUserDesktopDir(const std::string& UUID, const TJsonValue&) {
    SendSuccess(UUID, TStrUtils::StringToJsonString(TSysUtils::GetUserDesktopDirPath()));
}

void TBrowserExternalModule::FoldersGetAppExecutableDir(const std::string& UUID, const TJsonValue&) {
    SendSuccess(UUID, TStrUtils::StringToJsonString(Platform::GetExecutableFolder()));
}

void TBrowserExternalModule::FoldersGetAppDataDir(const std::string& UUID, const TJsonValue&) {
    SendSuccess(UUID, TStrUtils::StringToJsonString(TSysUtils::GetUserAppDataDirPath()));
}

std::string CannotWriteText(const std::string& Path, int Code) {
    return TStrUtils::StringToJsonString("Cannot write the file \"" + Path + "\": " + SystemErrorText(Code));
}

} // namespace Corvane::Shared
