// Picks the runtime, loader and installer of a package: explicit options first, then the files of
// crv-pack's data folder that belong to the target system.
#include "TargetFiles.h"

#include <optional>
#include <system_error>

#include "InputChecks.h"
#include "PackErrors.h"
#include "shared/ExeImage.h"

namespace Corvane::Pack {

namespace fs = std::filesystem;

namespace {

const char* TargetName(TTarget target) {
    return target == TTarget::Windows ? "windows" : "linux";
}

std::optional<TTarget> TargetOfImage(const std::string& path) {
    const auto image = Shared::ReadExeImageInfo(path);
    if (image && image->Format == Shared::TExeFormat::PE) return TTarget::Windows;
    if (image && image->Format == Shared::TExeFormat::ELF) return TTarget::Linux;
    return std::nullopt;
}

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

void ChooseRuntime(const TPackOptions& options, const TDataFolders& data, TTargetFiles& files) {
    if (options.Runtime.empty()) {
        files.Target = options.Target.value_or(kHostTarget);
        const bool windows = files.Target == TTarget::Windows;
        files.Runtime = (data.Lib / (windows ? "crv-runtime.exe" : "crv-runtime")).string();
        CheckReadable(windows ? "The Windows runtime" : "The Linux runtime", files.Runtime, TKind::File);
        files.WindowsRuntime = TargetOfImage(files.Runtime) == TTarget::Windows;
        return;
    }
    files.Runtime = options.Runtime;
    CheckReadable("The runtime", files.Runtime, TKind::File);
    const std::optional<TTarget> runtimeTarget = TargetOfImage(files.Runtime);
    if (options.Target && runtimeTarget && *options.Target != *runtimeTarget)
        throw EUsageError(std::string("--target ") + TargetName(*options.Target) +
                          " does not match the runtime \"" + files.Runtime + "\", which is for " +
                          TargetName(*runtimeTarget));
    files.Target = options.Target.value_or(runtimeTarget.value_or(kHostTarget));
    files.WindowsRuntime = runtimeTarget == TTarget::Windows;
}

void ChooseLoader(const TPackOptions& options, const TDataFolders& data, TTargetFiles& files) {
    if (options.Loader) {
        files.Loader = *options.Loader;
        CheckReadable("The loader library", files.Loader, TKind::File);
        if (files.WindowsRuntime && TargetOfImage(files.Loader) == TTarget::Linux)
            Warn("the loader \"" + files.Loader +
                 "\" is a Linux library in a Windows package: give the WebView2 "
                 "loader DLL for 64-bit Windows with --loader");
        return;
    }
    if (files.Target == TTarget::Windows) {
        // The loader is Microsoft's to distribute, so crv carries none.
        const fs::path dll = data.Lib / "WebView2Loader.dll";
        if (!IsFile(dll))
            throw EUsageError("a Windows package needs the WebView2 loader for 64-bit Windows, which crv "
                              "does not ship: take WebView2Loader.dll from build/native/x64/ in the WebView2 "
                              "SDK (the Microsoft.Web.WebView2 package on NuGet) and give it with --loader, "
                              "or copy it to " +
                              dll.string());
        files.Loader = dll.string();
        return;
    }
    const fs::path library = data.Lib / "libcrvwebview.so";
    if (IsFile(library))
        files.Loader = library.string();
    else
        Warn("no --loader given and no " + library.string() +
             ": the package will report the browser runtime as missing");
}

void ChooseInstaller(const TPackOptions& options, const TDataFolders& data, TTargetFiles& files) {
    if (options.Installer) {
        files.Installer = *options.Installer;
        CheckReadable("The installer", files.Installer, TKind::File);
        return;
    }
    // Only a Linux package can run the script; a Windows package takes the real installer.
    if (options.NoInstaller || files.Target != TTarget::Linux) return;
    const fs::path script = data.Lib / "WebView2Installer.sh";
    if (IsFile(script))
        files.Installer = script.string();
    else
        Warn("no --installer given and no " + script.string() +
             ": the package cannot install the browser runtime");
}

} // namespace

TTargetFiles ChooseTargetFiles(const TPackOptions& options, const TDataFolders& data) {
    TTargetFiles files;
    ChooseRuntime(options, data, files);
    ChooseLoader(options, data, files);
    ChooseInstaller(options, data, files);
    return files;
}

} // namespace Corvane::Pack
