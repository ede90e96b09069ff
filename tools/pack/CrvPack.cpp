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

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AppFolder.h"
#include "ArchiveBuilder.h"
#include "IniText.h"
#include "OutputFile.h"
#include "PackErrors.h"
#include "PackOptions.h"
#include "Progress.h"
#include "abi/Utf.h"
#include "shared/ExeImage.h"
#include "shared/ExeUtils.h"
#include "shared/PackageFormat.h"
#include "shared/ZipWriter.h"

using namespace Corvane;
using namespace Corvane::Pack;

namespace {

// The folder of the running crv-pack, where the runtime and the loader are looked for by default.
std::string OwnFolder(const char* argv0) {
    std::vector<char> buffer(4096);
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    const std::string self = n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : argv0;
    return FolderOf(self);
}

enum class TKind { File, Folder };

// A clear failure for an input that is missing, of the wrong kind or unreadable.
void CheckReadable(const std::string& what, const std::string& path, TKind kind) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw std::system_error(errno, std::generic_category(), what + " \"" + path + "\"");
    if (kind == TKind::Folder && !S_ISDIR(info.st_mode))
        throw std::runtime_error(what + " \"" + path + "\" is not a folder");
    if (kind == TKind::File && !S_ISREG(info.st_mode))
        throw std::runtime_error(what + " \"" + path + "\" is not a file");
    if (::access(path.c_str(), kind == TKind::Folder ? R_OK | X_OK : R_OK) != 0)
        throw std::system_error(errno, std::generic_category(), what + " \"" + path + "\"");
}

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

TInputs GatherInputs(const TPackOptions& options, const char* argv0) {
    TInputs in;
    if (options.IniFile.empty()) in.Identity = IdentityFromOptions(options);

    const std::string ownFolder = OwnFolder(argv0);
    CheckReadable("The application folder", options.AppDir, TKind::Folder);
    in.Runtime = options.Runtime.empty() ? ownFolder + "/crv-runtime" : options.Runtime;
    CheckReadable("The runtime", in.Runtime, TKind::File);
    const auto runtimeImage = Shared::ReadExeImageInfo(in.Runtime);
    const bool windowsRuntime = runtimeImage && runtimeImage->Format == Shared::TExeFormat::PE;
    if (options.Loader) {
        in.Loader = *options.Loader;
        CheckReadable("The loader library", in.Loader, TKind::File);
        const auto loaderImage = Shared::ReadExeImageInfo(in.Loader);
        if (windowsRuntime && loaderImage && loaderImage->Format == Shared::TExeFormat::ELF)
            Warn("the loader \"" + in.Loader +
                 "\" is a Linux library in a Windows package: give the WebView2 "
                 "loader DLL for 64-bit Windows with --loader");
    } else if (windowsRuntime) {
        Warn("no --loader given for a Windows package: give the WebView2 loader DLL for 64-bit Windows "
             "(WebView2Loader.dll of the WebView2 SDK), or the package will report the browser runtime "
             "as missing");
    } else if (::access((ownFolder + "/libcrvwebview.so").c_str(), R_OK) == 0) {
        in.Loader = ownFolder + "/libcrvwebview.so";
    } else {
        Warn("no --loader given and no libcrvwebview.so beside crv-pack: the package will report the "
             "browser runtime as missing");
    }
    if (!options.Icon.empty() || !options.VersionInfo.empty()) {
        if (!windowsRuntime)
            throw EUsageError("--icon and --version change a Windows runtime, and \"" + in.Runtime +
                              "\" is not a Windows executable");
        if (Shared::TExeUtils(in.Runtime).ExeHasAttachedStub())
            throw std::runtime_error("The runtime \"" + in.Runtime +
                                     "\" already carries an appended archive; give the bare runtime");
    }
    if (!options.Icon.empty()) CheckReadable("The icon", options.Icon, TKind::File);
    if (!options.Script.empty()) CheckReadable("The script", options.Script, TKind::File);
    if (options.Installer) {
        in.Installer = *options.Installer;
        CheckReadable("The installer", in.Installer, TKind::File);
    } else if (!options.NoInstaller) {
        // Only a Linux runtime can run the script; a Windows package takes the real installer.
        const std::string script = ownFolder + "/WebView2Installer.sh";
        if (runtimeImage && runtimeImage->Format == Shared::TExeFormat::ELF) {
            if (::access(script.c_str(), R_OK) == 0)
                in.Installer = script;
            else
                Warn("no --installer given and no WebView2Installer.sh beside crv-pack: the package cannot "
                     "install the browser runtime");
        }
    }
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

int Run(const std::vector<std::string>& args, const char* argv0) {
    const TPackOptions options = ParseCommandLine(args);
    if (options.Help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (!options.ZipCopy.empty() && options.ZipCopy == options.Output)
        throw EUsageError("--zip and -o name the same file");
    WritePackage(options, GatherInputs(options, argv0));
    return 0;
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
