// Parses the command line of crv-pack into options; every mistake is a usage error.
#include "PackOptions.h"

#include "PackErrors.h"

#include <string_view>

namespace Corvane::Pack {

namespace {

void SetOnce(std::string& target, bool& seen, std::string_view option, std::string value) {
    if (seen) throw EUsageError(std::string(option) + " is given twice");
    seen = true;
    target = std::move(value);
}

void SetOnce(std::optional<std::string>& target, std::string_view option, std::string value) {
    if (target) throw EUsageError(std::string(option) + " is given twice");
    target = std::move(value);
}

std::pair<std::string, std::string> SplitSetting(const std::string& text) {
    const auto eq = text.find('=');
    if (eq == std::string::npos) throw EUsageError("--set needs KEY=VALUE, got \"" + text + "\"");
    std::string key = text.substr(0, eq);
    if (key.find_first_not_of(" \t") == std::string::npos)
        throw EUsageError("--set needs a key before '=', got \"" + text + "\"");
    return {std::move(key), text.substr(eq + 1)};
}

} // namespace

TPackOptions ParseCommandLine(const std::vector<std::string>& args) {
    TPackOptions o;
    bool seenOutput = false, seenRuntime = false, seenId = false, seenName = false, seenIni = false,
         seenScript = false, seenInstaller = false, seenZip = false;
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

        if (option == "-o" || option == "--output")
            SetOnce(o.Output, seenOutput, "-o", value());
        else if (option == "--runtime")
            SetOnce(o.Runtime, seenRuntime, option, value());
        else if (option == "--id")
            SetOnce(o.Id, seenId, option, value());
        else if (option == "--name")
            SetOnce(o.Name, seenName, option, value());
        else if (option == "--dir-name")
            SetOnce(o.DirName, option, value());
        else if (option == "--index")
            SetOnce(o.IndexHtml, option, value());
        else if (option == "--set")
            o.Settings.push_back(SplitSetting(value()));
        else if (option == "--ini")
            SetOnce(o.IniFile, seenIni, option, value());
        else if (option == "--script")
            SetOnce(o.Script, seenScript, option, value());
        else if (option == "--loader")
            SetOnce(o.Loader, option, value());
        else if (option == "--installer")
            SetOnce(o.Installer, seenInstaller, option, value());
        else if (option == "--zip")
            SetOnce(o.ZipCopy, seenZip, option, value());
        else
            throw EUsageError("unknown option " + option);
    }
    if (o.Help) return o;

    if (positional.empty()) throw EUsageError("no APP_DIR given");
    if (positional.size() > 1)
        throw EUsageError("more than one APP_DIR given (\"" + positional[0] + "\", \"" + positional[1] +
                          "\")");
    o.AppDir = positional[0];
    if (o.Output.empty()) throw EUsageError("no output given (-o OUTPUT)");

    if (seenIni) {
        if (seenId || seenName || !o.Settings.empty())
            throw EUsageError("--ini stores the file as given, so it cannot be combined with --id, --name "
                              "or --set");
    } else {
        if (o.Id.empty()) throw EUsageError("no application ID given (--id ID)");
        if (o.Name.empty()) throw EUsageError("no application name given (--name NAME)");
    }
    return o;
}

const char* UsageText() {
    return "Usage: crv-pack [options] APP_DIR -o OUTPUT\n"
           "Packs the web application in APP_DIR with the runtime into one executable.\n"
           "\n"
           "  -o, --output FILE  the package to write (replaced whole, or left untouched on error)\n"
           "  --runtime FILE     runtime to copy (default: crv-runtime beside crv-pack)\n"
           "  --id ID            application ID (required unless --ini)\n"
           "  --name NAME        application name (required unless --ini)\n"
           "  --dir-name NAME    archive folder of the application's files (default: app)\n"
           "  --index PAGE       start page inside that folder (default: index.html)\n"
           "  --set KEY=VALUE    a further key of the [App] section of crv.ini (repeatable)\n"
           "  --ini FILE         store this file as crv.ini instead of generating one\n"
           "  --script FILE      script for every page, stored as crv-webviewjs\n"
           "  --loader FILE      browser loader library, stored as WebView2LoaderWin64.dll\n"
           "                     (default: libcrvwebview.so beside crv-pack)\n"
           "  --installer FILE   browser runtime installer, stored as WebView2Installer.exe\n"
           "  --zip FILE         also write the archive alone, for inspection\n"
           "  -h, --help         show this help\n"
           "\n"
           "Exit codes: 0 done, 1 failed, 2 wrong command line.\n";
}

} // namespace Corvane::Pack
