// The command line of crv-pack.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Corvane::Pack {

struct TPackOptions {
    std::string AppDir;
    std::string Output;
    std::string Runtime; // empty: crv-runtime beside crv-pack
    std::string Id;
    std::string Name;
    std::optional<std::string> DirName;                        // default "app"
    std::optional<std::string> IndexHtml;                      // default "index.html"
    std::vector<std::pair<std::string, std::string>> Settings; // --set, in order
    std::string IniFile;
    std::string Script;
    std::optional<std::string> Loader; // not given: libcrvwebview.so beside crv-pack
    // Not given: WebView2Installer.sh beside crv-pack, for a Linux runtime.
    std::optional<std::string> Installer;
    bool NoInstaller = false; // --no-installer
    std::string ZipCopy;
    std::string Icon; // --icon, for a Windows runtime
    // --version, in order, keys spelled as the runtime's version block lists them.
    std::vector<std::pair<std::string, std::string>> VersionInfo;
    bool Help = false;
};

inline constexpr const char* kDefaultDirName = "app";
inline constexpr const char* kDefaultIndexHtml = "index.html";

// Throws EUsageError for anything the command line gets wrong; checks no files.
TPackOptions ParseCommandLine(const std::vector<std::string>& args);

const char* UsageText();

} // namespace Corvane::Pack
