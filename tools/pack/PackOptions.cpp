// Parses the command line of crv-pack into options; every mistake is a usage error.
#include "PackOptions.h"

#include "PackErrors.h"
#include "shared/ExeUtils.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string_view>

namespace Corvane::Pack {

namespace {

// The options that take one value and may be given once, with where the value goes.
struct TSingleOption {
    const char* Name;
    void (*Store)(TPackOptions& options, std::string value);
};

TTarget ParseTarget(const std::string& value) {
    if (value == "linux") return TTarget::Linux;
    if (value == "windows") return TTarget::Windows;
    throw EUsageError("--target is linux or windows, got \"" + value + "\"");
}

constexpr TSingleOption kSingleOptions[] = {
    {"-o", [](TPackOptions& o, std::string v) { o.Output = std::move(v); }},
    {"--runtime", [](TPackOptions& o, std::string v) { o.Runtime = std::move(v); }},
    {"--id", [](TPackOptions& o, std::string v) { o.Id = std::move(v); }},
    {"--name", [](TPackOptions& o, std::string v) { o.Name = std::move(v); }},
    {"--dir-name", [](TPackOptions& o, std::string v) { o.DirName = std::move(v); }},
    {"--index", [](TPackOptions& o, std::string v) { o.IndexHtml = std::move(v); }},
    {"--ini", [](TPackOptions& o, std::string v) { o.IniFile = std::move(v); }},
    {"--script", [](TPackOptions& o, std::string v) { o.Script = std::move(v); }},
    {"--loader", [](TPackOptions& o, std::string v) { o.Loader = std::move(v); }},
    {"--installer", [](TPackOptions& o, std::string v) { o.Installer = std::move(v); }},
    {"--zip", [](TPackOptions& o, std::string v) { o.ZipCopy = std::move(v); }},
    {"--icon", [](TPackOptions& o, std::string v) { o.Icon = std::move(v); }},
    {"--target", [](TPackOptions& o, std::string v) { o.Target = ParseTarget(v); }},
    {"--init", [](TPackOptions& o, std::string v) { o.InitDir = std::move(v); }},
};

const TSingleOption* FindSingleOption(std::string_view name) {
    for (const auto& option : kSingleOptions)
        if (name == option.Name) return &option;
    return nullptr;
}

std::pair<std::string, std::string> SplitSetting(const std::string& text) {
    const auto eq = text.find('=');
    if (eq == std::string::npos) throw EUsageError("--set needs KEY=VALUE, got \"" + text + "\"");
    std::string key = text.substr(0, eq);
    if (key.find_first_not_of(" \t") == std::string::npos)
        throw EUsageError("--set needs a key before '=', got \"" + text + "\"");
    return {std::move(key), text.substr(eq + 1)};
}

bool SameAsciiText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// KEY=VALUE of --version, with the key spelled as the version block's list spells it.
void AddVersionValue(TPackOptions& o, const std::string& text) {
    const auto eq = text.find('=');
    if (eq == std::string::npos) throw EUsageError("--version needs KEY=VALUE, got \"" + text + "\"");
    const std::string_view given(text.data(), eq);
    const char* key = nullptr;
    for (const char* known : Shared::TExeUtils::kExeInfoKeys)
        if (SameAsciiText(given, known)) key = known;
    if (key == nullptr) {
        std::string keys;
        for (const char* known : Shared::TExeUtils::kExeInfoKeys)
            keys += std::string(keys.empty() ? "" : ", ") + known;
        throw EUsageError("--version knows no key \"" + std::string(given) + "\"; the keys are " + keys);
    }
    for (const auto& [seenKey, value] : o.VersionInfo)
        if (seenKey == key) throw EUsageError("--version " + std::string(key) + " is given twice");
    o.VersionInfo.emplace_back(key, text.substr(eq + 1));
}

} // namespace

std::string AppFolderName(const std::string& appDir) {
    std::filesystem::path path = std::filesystem::absolute(appDir).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    const std::string name = path.filename().string();
    return name.empty() ? "app" : name;
}

namespace {

// The ID for a package that is only run: its folder name in the characters an ID is safe with.
std::string RunId(const std::string& folderName) {
    std::string id = "crv.run.";
    for (const char c : folderName)
        id += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : '-';
    return id;
}

} // namespace

TPackOptions ParseCommandLine(const std::vector<std::string>& args) {
    TPackOptions o;
    std::set<std::string_view> seen;
    std::vector<std::string> positional;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            o.Help = true;
            continue;
        }
        if (arg == "--no-installer" || arg == "--run") {
            (arg == "--run" ? o.Run : o.NoInstaller) = true;
            continue;
        }

        // "--opt VALUE" or "--opt=VALUE"
        std::string option = arg;
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0) {
            const auto eq = arg.find('=');
            if (eq != std::string::npos) {
                option = arg.substr(0, eq);
                inlineValue = arg.substr(eq + 1);
            }
        }
        auto value = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= args.size()) throw EUsageError(option + " needs a value");
            return args[++i];
        };

        if (option == "--set") {
            o.Settings.push_back(SplitSetting(value()));
        } else if (option == "--version") {
            AddVersionValue(o, value());
        } else if (const TSingleOption* single = FindSingleOption(option == "--output" ? "-o" : option)) {
            if (!seen.insert(single->Name).second)
                throw EUsageError(std::string(single->Name) + " is given twice");
            single->Store(o, value());
        } else {
            throw EUsageError("unknown option " + option);
        }
    }
    if (o.Help) return o;

    if (!o.InitDir.empty()) {
        if (!positional.empty() || seen.size() > 1 || o.Run || o.NoInstaller || !o.Settings.empty() ||
            !o.VersionInfo.empty())
            throw EUsageError("--init DIR takes no other arguments");
        return o;
    }
    if (positional.empty()) throw EUsageError("no APP_DIR given");
    if (positional.size() > 1)
        throw EUsageError("more than one APP_DIR given (\"" + positional[0] + "\", \"" + positional[1] +
                          "\")");
    o.AppDir = positional[0];
    if (o.Output.empty() && !o.Run) throw EUsageError("no output given (-o OUTPUT)");

    if (o.NoInstaller && o.Installer) throw EUsageError("--installer and --no-installer exclude each other");
    if (seen.count("--ini")) {
        if (seen.count("--id") || seen.count("--name") || !o.Settings.empty())
            throw EUsageError("--ini stores the file as given, so it cannot be combined with --id, --name "
                              "or --set");
    } else {
        // A package to look at needs no identity of its own.
        if (o.Run && o.Name.empty()) o.Name = AppFolderName(o.AppDir);
        if (o.Run && o.Id.empty()) o.Id = RunId(AppFolderName(o.AppDir));
        if (o.Id.empty()) throw EUsageError("no application ID given (--id ID)");
        if (o.Name.empty()) throw EUsageError("no application name given (--name NAME)");
    }
    return o;
}

const char* UsageText() {
    return "Usage: crv-pack [options] APP_DIR -o OUTPUT\n"
           "  or:  crv-pack --run [options] APP_DIR\n"
           "  or:  crv-pack --init DIR\n"
           "Packs the web application in APP_DIR with the runtime into one executable.\n"
           "\n"
           "The runtimes, the Linux browser loader and the Linux runtime installer are taken from\n"
           "crv-pack's data folder: the folder of crv-pack in a build tree, ../lib/crv once installed.\n"
           "\n"
           "  -o, --output FILE  the package to write (replaced whole, or left untouched on error)\n"
           "  --target SYSTEM    linux or windows: the system the package is for, which picks the\n"
           "                     runtime, loader and installer of the data folder (default: the\n"
           "                     system of --runtime, else the one crv-pack runs on)\n"
           "  --runtime FILE     runtime to copy (default: crv-runtime, or crv-runtime.exe for\n"
           "                     windows, of the data folder)\n"
           "  --id ID            application ID (required unless --ini or --run)\n"
           "  --name NAME        application name (required unless --ini or --run)\n"
           "  --dir-name NAME    archive folder of the application's files (default: app)\n"
           "  --index PAGE       start page inside that folder (default: index.html)\n"
           "  --set KEY=VALUE    a further key of the [App] section of crv.ini (repeatable)\n"
           "  --ini FILE         store this file as crv.ini instead of generating one\n"
           "  --script FILE      script for every page, stored as crv-webviewjs\n"
           "  --loader FILE      browser loader library, stored as WebView2LoaderWin64.dll\n"
           "                     (default for linux: libcrvwebview.so of the data folder; for\n"
           "                     windows: WebView2Loader.dll of the data folder, and without one a\n"
           "                     Windows package is refused: the DLL comes with the WebView2 SDK,\n"
           "                     the Microsoft.Web.WebView2 NuGet package, as\n"
           "                     build/native/x64/WebView2Loader.dll)\n"
           "  --installer FILE   browser runtime installer, stored as WebView2Installer.exe; a\n"
           "                     package missing the runtime offers to run it with administrator\n"
           "                     rights (default for linux: WebView2Installer.sh of the data folder,\n"
           "                     which installs WebKitGTK with the system's package manager)\n"
           "  --no-installer     store no installer: a package missing the runtime cannot install it\n"
           "  --zip FILE         also write the archive alone, for inspection\n"
           "  --icon FILE.ico    Windows runtime only: the package's icon (at most 1 MiB)\n"
           "  --version KEY=VALUE\n"
           "                     Windows runtime only: a value of the version information\n"
           "                     (repeatable). KEY, in any case: CompanyName, FileDescription,\n"
           "                     FileVersion, InternalName, LegalCopyright, LegalTrademarks,\n"
           "                     OriginalFileName, ProgramID, ProductName, ProductVersion,\n"
           "                     Comments. Once one is given, the others are left empty, but\n"
           "                     FileVersion and ProductVersion default to 1.0.0.0. A value longer\n"
           "                     than its room (255 characters, 7 for the two versions) is cut,\n"
           "                     with a warning.\n"
           "  --run              start the package at once and end with its exit code; it is written\n"
           "                     to a temporary file, removed afterwards, unless -o is given. --id\n"
           "                     and --name default to ones made from APP_DIR's name\n"
           "  --init DIR         write a starter app into DIR (new or empty): index.html, app.js and\n"
           "                     crv.d.ts, the types of window.crv\n"
           "  -h, --help         show this help\n"
           "\n"
           "Exit codes: 0 done, 1 failed, 2 wrong command line; with --run, once the package has\n"
           "started, its own exit code.\n";
}

} // namespace Corvane::Pack
