// The command line of crv-pack.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Corvane::Pack {

// The system a package is for.
enum class TTarget { Linux, Windows };

struct TPackOptions {
    std::string AppDir;
    std::string Output;            // may be empty with --run: a temporary file then
    std::string Runtime;           // empty: the target's runtime in crv-pack's data folder
    std::optional<TTarget> Target; // not given: the runtime's system, else the one crv-pack runs on
    std::string Id;
    std::string Name;
    std::optional<std::string> DirName;                        // default "app"
    std::optional<std::string> IndexHtml;                      // default "index.html"
    std::vector<std::pair<std::string, std::string>> Settings; // --set, in order
    std::string IniFile;
    std::string Script;
    std::optional<std::string> Loader; // not given: the target's loader in crv-pack's data folder
    // Not given: WebView2Installer.sh of crv-pack's data folder, for a Linux target.
    std::optional<std::string> Installer;
    bool NoInstaller = false; // --no-installer
    std::string ZipCopy;
    std::string Icon; // --icon, for a Windows runtime
    // --version, in order, keys spelled as the runtime's version block lists them.
    std::vector<std::pair<std::string, std::string>> VersionInfo;
    bool Run = false;    // --run: start the package once written
    std::string InitDir; // --init: write a starter app there instead of packing
    bool Help = false;
};

inline constexpr const char* kDefaultDirName = "app";
inline constexpr const char* kDefaultIndexHtml = "index.html";

// The system crv-pack runs on.
#ifdef _WIN32
inline constexpr TTarget kHostTarget = TTarget::Windows;
#else
inline constexpr TTarget kHostTarget = TTarget::Linux;
#endif

// Throws EUsageError for anything the command line gets wrong; checks no files.
TPackOptions ParseCommandLine(const std::vector<std::string>& args);

const char* UsageText();

// The last component of the application folder's path, as a name for a package that is only run.
std::string AppFolderName(const std::string& appDir);

} // namespace Corvane::Pack
