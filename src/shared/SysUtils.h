// System functions over the platform's shell, folder and process services. None of them throws:
// failures answer false, an empty string or 0.
#pragma once

#include <cstdint>
#include <string>

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
    // Whether the loader library at EdgeLoaderDllPath reports a non-empty browser version.
    static bool CheckEdgeIsInstalled(const std::string& EdgeLoaderDllPath);
    // Logs the user off (0), shuts the machine down (1) or restarts it (2), optionally with the force
    // flag 4: 4, 5 and 6 are what the runtime passes. Whether the system accepted the request; any
    // other value is refused with EINVAL. On failure the last error code and its message tell why.
    static bool ExitWindows(std::uint32_t RebootParam);
};

} // namespace Corvane::Shared
