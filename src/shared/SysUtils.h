// System functions over the platform's shell, folder and process services. None of them throws:
// failures answer false, an empty string or 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Corvane::Shared {

class TSysUtils {
public:
    TSysUtils() = delete;

    // Folder paths end with the path separator.
    static std::string GetUserDesktopDirPath();
    static std::string GetUserDocumentsDirPath();
    static std::string GetUserAppDataDirPath();
    static std::string GetLocalAppDataDirPath();
    static std::string GetTempDirPath();

    // Deletes the folder and everything below it; false when it did not exist or was not removed.
    static bool DeleteDirectory(const std::string& DirPath);
    // Opens FilePath as the shell does with the verb "open": a program starts with the argument text
    // (split by the usual quoting rules), anything else opens in its default application. Whether the
    // system accepted the request; on failure the last error code tells why.
    static bool ShellExec(const std::string& FilePath, const std::string& Arguments);
    // Shows FilePath selected in the desktop's file manager. Whether the request was accepted.
    static bool ShellExplore(const std::string& FilePath);
    // Runs FilePath with administrator rights and Params (split by the usual quoting rules), waiting
    // for it to end while the main loop keeps turning. Its exit code; 0 when it could not be started.
    static std::uint32_t ShellExecAsAdminAndWait(void* AHandle, const std::string& FilePath,
                                                 const std::string& Params);
    // Runs CommandLine in the command interpreter in WorkingDir (empty: the current folder) and
    // returns everything it wrote to standard output and error, in the order written; empty when it
    // could not be started. ShowWindow runs it in a terminal window where the desktop has one.
    static std::string GetDosOutput(const std::string& CommandLine, const std::string& WorkingDir,
                                    bool ShowWindow);
    // The captions of the desktop's top-level windows, blank ones left out.
    static void GetWindowsCaptions(std::vector<std::string>& WindowsCaptionsList);
    // Whether the loader library at EdgeLoaderDllPath reports a non-empty browser version.
    static bool CheckEdgeIsInstalled(const std::string& EdgeLoaderDllPath);
    // Logs the user off (0), shuts the machine down (1) or restarts it (2), optionally with the force
    // flag 4: 4, 5 and 6 are what the runtime passes. Whether the system accepted the request; any
    // other value is refused with EINVAL. On failure the last error code and its message tell why.
    static bool ExitWindows(std::uint32_t RebootParam);
};

} // namespace Corvane::Shared
