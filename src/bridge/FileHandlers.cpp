// The files and folders functions: tests, deletes, text files, files of the package, and the
// paths of well-known folders.
#include <filesystem>
#include <system_error>
#include <vector>

#include <nlohmann/json.hpp>

#include "abi/Utf.h"
#include "bridge/AppPath.h"
#include "bridge/BrowserExternalModule.h"
#include "browser/BrowserForm.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "shared/ProjectIni.h"
#include "shared/StrUtils.h"
#include "shared/SysUtils.h"
#include "shared/ZipReader.h"

namespace Corvane::Bridge {

using namespace Corvane::Shared;
using namespace Corvane::Browser;

namespace {

namespace fs = std::filesystem;

bool IsFile(const std::string& path) {
    std::error_code error;
    const fs::path file = Abi::Utf8Path(path);
    return fs::exists(file, error) && !fs::is_directory(file, error);
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(Abi::Utf8Path(path), error);
}

// Deletes one file; a folder is not a file.
bool DeleteFile(const std::string& path) {
    std::error_code error;
    const fs::path file = Abi::Utf8Path(path);
    if (fs::is_directory(fs::symlink_status(file, error))) return false;
    return fs::remove(file, error) && !error;
}

} // namespace

std::string TBrowserExternalModule::ReadAppPathArg(const TJsonValue& data, const char* key) {
    const std::string path = ReadStringArg(data, key, "");
    if (path.empty()) return {};
    return ResolveAppPath(path, BrowserForm ? BrowserForm->AppDirPath : Platform::GetExecutableFolder());
}

TBridgeOutcome TBrowserExternalModule::FilesFileExists(const TJsonValue& data) {
    const std::string path = ReadAppPathArg(data, "filePath");
    if (path.empty()) return TBridgeOutcome::Reject("Missing filePath");
    return TBridgeOutcome::Result(IsFile(path));
}

TBridgeOutcome TBrowserExternalModule::FilesDeleteFile(const TJsonValue& data) {
    const std::string path = ReadAppPathArg(data, "filePath");
    if (path.empty()) return TBridgeOutcome::Reject("Missing filePath");
    return TBridgeOutcome::Result(DeleteFile(path));
}

TBridgeOutcome TBrowserExternalModule::FoldersDirExists(const TJsonValue& data) {
    const std::string path = ReadAppPathArg(data, "dirPath");
    if (path.empty()) return TBridgeOutcome::Reject("Missing dirPath");
    return TBridgeOutcome::Result(IsFolder(path));
}

TBridgeOutcome TBrowserExternalModule::FoldersDeleteDir(const TJsonValue& data) {
    const std::string path = ReadAppPathArg(data, "dirPath");
    if (path.empty()) return TBridgeOutcome::Reject("Missing dirPath");
    return TBridgeOutcome::Result(TSysUtils::DeleteDirectory(path));
}

TBridgeOutcome TBrowserExternalModule::FilesWriteTextFile(const TJsonValue& data) {
    const std::string path = ReadAppPathArg(data, "filePath");
    if (path.empty()) return TBridgeOutcome::Reject("Missing filePath");
    std::error_code ignored; // a folder that cannot be made shows as the write's failure
    fs::create_directories(Abi::Utf8Path(path).parent_path(), ignored);
    std::string contents;
    try {
        contents = ReadStringArg(data, "contents", "");
    } catch (const std::exception& error) {
        return TBridgeOutcome::Reject(error.what());
    }
    int code = 0;
    if (!Platform::WriteFileReplacing(path, TextFileBytes(contents), code))
        return TBridgeOutcome::Reject(CannotWriteText(path, code));
    return TBridgeOutcome::Result(true);
}

TBridgeOutcome TBrowserExternalModule::FilesExtractFile(const TJsonValue& data) {
    const std::string sourceFile = ReadStringArg(data, "sourceFile", "");
    if (sourceFile.empty()) return TBridgeOutcome::Reject("Missing sourceFile");
    // Used as given: relative to the current folder, in a folder that must exist.
    const std::string targetFile = ReadStringArg(data, "targetFile", "");
    if (targetFile.empty()) return TBridgeOutcome::Reject("Missing targetFile");

    const std::string dirName = ProjectINI ? ProjectINI->ReadString("App", "DirName", "") : std::string();
    const std::string entryName = dirName + sourceFile;
    // The entry is read whole before the target is touched, so a wrong name or a damaged entry
    // never costs the file already at the target.
    if (!ExeZip || ExeZip->FindFile(entryName) < 0) return TBridgeOutcome::Reject("File not found");
    std::vector<std::uint8_t> content;
    if (!ExeZip->ExtractToStream(entryName, content))
        return TBridgeOutcome::Reject("Cannot extract \"" + entryName + "\" from the package");
    int code = 0;
    const std::string_view bytes(reinterpret_cast<const char*>(content.data()), content.size());
    if (!Platform::WriteFileReplacing(targetFile, bytes, code))
        return TBridgeOutcome::Reject(CannotWriteText(targetFile, code));
    return TBridgeOutcome::Result(true);
}

TBridgeOutcome TBrowserExternalModule::FoldersGetTempDir(const TJsonValue&) {
    return TBridgeOutcome::Result(TSysUtils::GetTempDirPath());
}

TBridgeOutcome TBrowserExternalModule::FoldersGetUserDocumentsDir(const TJsonValue&) {
    return TBridgeOutcome::Result(TSysUtils::GetUserDocumentsDirPath());
}

TBridgeOutcome TBrowserExternalModule::FoldersGetUserDesktopDir(const TJsonValue&) {
    return TBridgeOutcome::Result(TSysUtils::GetUserDesktopDirPath());
}

TBridgeOutcome TBrowserExternalModule::FoldersGetAppExecutableDir(const TJsonValue&) {
    return TBridgeOutcome::Result(Platform::GetExecutableFolder());
}

TBridgeOutcome TBrowserExternalModule::FoldersGetAppDataDir(const TJsonValue&) {
    return TBridgeOutcome::Result(TSysUtils::GetUserAppDataDirPath());
}

std::string CannotWriteText(const std::string& path, int code) {
    return "Cannot write the file \"" + path + "\": " + SystemErrorText(code);
}

} // namespace Corvane::Bridge
