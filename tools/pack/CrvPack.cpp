// crv-pack: packs a folder of web pages with the runtime into one executable.
#include <clocale>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <sys/stat.h>

#include "AppFolder.h"
#include "ArchiveBuilder.h"
#include "DataFolders.h"
#include "IniText.h"
#include "InputChecks.h"
#include "OutputFile.h"
#include "PackErrors.h"
#include "PackOptions.h"
#include "Progress.h"
#include "RunPackage.h"
#include "StarterApp.h"
#include "TargetFiles.h"
#include "abi/Utf.h"
#include "shared/ExeUtils.h"
#include "shared/PackageFormat.h"
#include "shared/ZipWriter.h"

using namespace Corvane;
using namespace Corvane::Pack;

namespace {

// The settings file, which the runtime would refuse past kMaxSettingsSize bytes.
std::string ReadSettingsFile(const std::string& path) {
    std::ifstream in(Abi::Utf8Path(path), std::ios::binary);
    std::string text(Shared::kMaxSettingsSize + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad() || (!in && !in.eof()))
        throw std::system_error(errno, std::generic_category(), "Cannot read \"" + path + "\"");
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > Shared::kMaxSettingsSize)
        throw std::runtime_error("The settings file \"" + path + "\" is larger than " +
                                 std::to_string(Shared::kMaxSettingsSize) +
                                 " bytes, more than a package takes");
    return text;
}

// The start page without a query or fragment, as a file name inside the application folder.
std::string IndexFile(const std::string& index) {
    return index.substr(0, index.find_first_of("?#"));
}

// What goes into the package, checked before anything is written.
struct TInputs {
    TAppIdentity Identity;
    std::string IniText;
    std::string Runtime;
    std::string Loader;    // empty: none
    std::string Installer; // empty: none
};

TInputs GatherInputs(const TPackOptions& options, const TDataFolders& data) {
    TInputs in;
    if (options.IniFile.empty()) in.Identity = IdentityFromOptions(options);

    CheckReadable("The application folder", options.AppDir, TKind::Folder);
    const TTargetFiles files = ChooseTargetFiles(options, data);
    if (options.Run && files.Target != kHostTarget)
        throw EUsageError("--run starts only packages for the system crv-pack runs on");
    in.Runtime = files.Runtime;
    in.Loader = files.Loader;
    in.Installer = files.Installer;
    if (!options.Icon.empty() || !options.VersionInfo.empty()) {
        if (!files.WindowsRuntime)
            throw EUsageError("--icon and --version change a Windows runtime, and \"" + in.Runtime +
                              "\" is not a Windows executable");
        if (Shared::TExeUtils(in.Runtime).ExeHasAttachedStub())
            throw std::runtime_error("The runtime \"" + in.Runtime +
                                     "\" already carries an appended archive; give the bare runtime");
    }
    if (!options.Icon.empty()) CheckReadable("The icon", options.Icon, TKind::File);
    if (!options.Script.empty()) CheckReadable("The script", options.Script, TKind::File);
    if (options.IniFile.empty()) {
        in.IniText = GenerateIni(in.Identity, options);
    } else {
        CheckReadable("The settings file", options.IniFile, TKind::File);
        in.IniText = ReadSettingsFile(options.IniFile);
        in.Identity = IdentityFromIniFile(in.IniText, options.IniFile, options);
    }

    struct stat outInfo {};
    if (::stat(options.Output.c_str(), &outInfo) == 0 && S_ISDIR(outInfo.st_mode))
        throw std::runtime_error("The output \"" + options.Output + "\" is a folder");
    TFileId runtimeId{}, outputId{};
    if (GetFileId(in.Runtime, runtimeId) && GetFileId(options.Output, outputId) && runtimeId == outputId)
        throw std::runtime_error("The output \"" + options.Output + "\" is the runtime itself");
    return in;
}

// Gives the copy of the runtime the package's icon and version values; the runtime's block holds
// blank room for them.
void ApplyWindowsResources(const TPackOptions& options, const std::string& runtime,
                           const std::string& exePath) {
    const Shared::TExeUtils editor(exePath);
    if (!options.Icon.empty()) {
        try {
            editor.ChangeExeIcon(exePath, options.Icon);
        } catch (const std::exception& e) {
            throw std::runtime_error("Cannot give the package the icon \"" + options.Icon +
                                     "\": " + e.what());
        }
    }
    if (options.VersionInfo.empty()) return;

    constexpr std::size_t kKeyCount = std::size(Shared::TExeUtils::kExeInfoKeys);
    std::string values[kKeyCount];
    for (std::size_t k = 0; k < kKeyCount; ++k) {
        const std::string_view key = Shared::TExeUtils::kExeInfoKeys[k];
        if (key == "FileVersion" || key == "ProductVersion") values[k] = "1.0.0.0";
        for (const auto& [given, value] : options.VersionInfo)
            if (given == key) values[k] = value;
    }
    Shared::TExeUtils::TExeInfoResult result;
    try {
        result = editor.UpdateExeInfo(exePath, values[0], values[1], values[2], values[3], values[4],
                                      values[5], values[6], values[7], values[8], values[9], values[10]);
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("Cannot write the version information: ") + e.what());
    }
    if (!result.Written)
        throw std::runtime_error("The runtime \"" + runtime + "\" has no version information to fill in");
    for (const std::string& key : result.CutKeys)
        Warn("the " + key + " value is longer than the runtime's version block has room for, so it was cut");
}

// Everything is written to temporary files beside the targets and renamed over them at the end, so
// a failure anywhere leaves the targets as they were.
void WritePackage(const TPackOptions& options, const TInputs& in) {
    InstallInterruptCleanup();
    TTempFile exe(options.Output, "crv-pack");
    TTempFile zip(options.Output, "zip");
    std::unique_ptr<TTempFile> zipCopy;
    if (!options.ZipCopy.empty()) zipCopy = std::make_unique<TTempFile>(options.ZipCopy, "crv-pack");

    std::vector<TFileId> exclude;
    for (const std::string& path : {options.Output, options.ZipCopy, exe.Path(), zip.Path(),
                                    zipCopy ? zipCopy->Path() : std::string()}) {
        TFileId id{};
        if (!path.empty() && GetFileId(path, id)) exclude.push_back(id);
    }
    std::vector<TPlannedEntry> appEntries = ListAppFolder(options.AppDir, in.Identity.DirName, exclude);
    const std::uint64_t fileCount = appEntries.size();
    const std::string index = IndexFile(in.Identity.IndexHtml);
    if (!HoldsFile(appEntries, in.Identity.DirName + "/" + index))
        Warn("the start page \"" + index + "\" is not in \"" + options.AppDir + "\"");

    const std::vector<TPlannedEntry> entries =
        PlanArchive({in.IniText, options.Script, in.Loader, in.Installer}, std::move(appEntries));
    const std::uint64_t archiveSize = ArchiveSize(entries);
    if (entries.size() > Shared::TZipWriter::kMaxEntries)
        throw std::runtime_error("The package would hold " + std::to_string(entries.size()) +
                                 " entries; a package holds at most " +
                                 std::to_string(Shared::TZipWriter::kMaxEntries));
    if (archiveSize >= Shared::TZipWriter::kMaxArchiveSize)
        throw std::runtime_error("The archive would take " + std::to_string(archiveSize) +
                                 " bytes; a package archive must stay below 4 GiB");

    TProgress progress(archiveSize, fileCount);
    progress.Step("writing the archive", archiveSize);
    WriteArchive(entries, zip.Path(), [&](std::uint64_t done) { progress.Update(done); });
    CopyFileContent(in.Runtime, exe.Path());
    ApplyWindowsResources(options, in.Runtime, exe.Path());
    progress.Step("appending it to the runtime", archiveSize);
    Shared::TExeUtils appender(exe.Path());
    appender.OnProgressPos = [&](void*, std::int64_t done) {
        progress.Update(static_cast<std::uint64_t>(done));
    };
    appender.AppendZipToExe(zip.Path(), exe.Path());
    if (zipCopy) CopyFileContent(zip.Path(), zipCopy->Path());

    exe.CommitTo(options.Output, 0755);
    if (zipCopy) zipCopy->CommitTo(options.ZipCopy, 0644);
    progress.Done();
}

// A word of a shell command line, quoted when it needs to be.
std::string ShellWord(const std::string& word) {
    if (!word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                "0123456789_./-+=:,@") == std::string::npos)
        return word;
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int Run(const std::vector<std::string>& args, const char* argv0) {
    const TPackOptions options = ParseCommandLine(args);
    if (options.Help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    const TDataFolders data = FindDataFolders(OwnPath(argv0));
    if (!options.InitDir.empty()) {
        WriteStarterApp(options.InitDir, data.Types / "crv.d.ts");
        std::printf("Wrote a starter app to %s. Pack and start it with:\n  %s --run %s\n",
                    options.InitDir.c_str(), ShellWord(argv0).c_str(), ShellWord(options.InitDir).c_str());
        return 0;
    }
    if (!options.ZipCopy.empty() && options.ZipCopy == options.Output)
        throw EUsageError("--zip and -o name the same file");

    // Without -o, --run writes the package into a folder of its own that goes when the run ends.
    TPackOptions packOptions = options;
    std::unique_ptr<TScratchFolder> scratch;
    if (options.Run && options.Output.empty()) {
        scratch = std::make_unique<TScratchFolder>("crv-run");
        packOptions.Output = scratch->Path() + "/" + AppFolderName(options.AppDir);
    }
    WritePackage(packOptions, GatherInputs(packOptions, data));
    if (!options.Run) return 0;
    try {
        return RunAndWait(packOptions.Output);
    } catch (const std::system_error& e) {
        if (!scratch || e.code() != std::errc::permission_denied) throw;
        throw std::runtime_error(
            std::string(e.what()) +
            " (a temporary folder that allows no programs? -o writes the package elsewhere)");
    }
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc), argv[0]);
    } catch (const EUsageError& e) {
        ReportError(e.what());
        std::fputs("Try 'crv-pack --help'.\n", stderr);
        return kExitUsage;
    } catch (const std::exception& e) {
        ReportError(e.what());
        return kExitFailure;
    }
}
