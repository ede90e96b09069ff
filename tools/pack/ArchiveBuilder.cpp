// Plans and writes the package archive with the shared archive writer.
#include "ArchiveBuilder.h"

#include "shared/PackageFormat.h"
#include "shared/ZipWriter.h"

#include <system_error>

#include <sys/stat.h>

namespace Corvane::Pack {

namespace {

TPlannedEntry RootFile(const char* name, const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw std::system_error(errno, std::generic_category(), "Cannot read \"" + path + "\"");
    return TPlannedEntry::MakeFile(name, path, info.st_mtime, static_cast<std::uint64_t>(info.st_size));
}

} // namespace

std::vector<TPlannedEntry> PlanArchive(const TRootFiles& root, std::vector<TPlannedEntry> appEntries) {
    std::vector<TPlannedEntry> entries;
    entries.push_back(TPlannedEntry::MakeData(Shared::kSettingsEntry, root.IniText));
    if (!root.Script.empty()) entries.push_back(RootFile(Shared::kScriptEntry, root.Script));
    if (!root.Loader.empty()) entries.push_back(RootFile(Shared::kLoaderEntry, root.Loader));
    if (!root.Installer.empty()) entries.push_back(RootFile(Shared::kInstallerEntry, root.Installer));
    for (TPlannedEntry& e : appEntries)
        entries.push_back(std::move(e));
    return entries;
}

std::uint64_t ArchiveSize(const std::vector<TPlannedEntry>& entries) {
    // Local header 30, encryption header 12, data descriptor 16, central header 46; end record 22.
    std::uint64_t size = 22;
    for (const TPlannedEntry& e : entries)
        size += 30 + 12 + 16 + 46 + 2 * e.Name.size() + e.Size;
    return size;
}

void WriteArchive(const std::vector<TPlannedEntry>& entries, const std::string& zipPath,
                  const std::function<void(std::uint64_t)>& progress) {
    Shared::TZipWriter zip(zipPath, Shared::kArchivePassword);
    zip.OnProgress = progress;
    for (const TPlannedEntry& e : entries) {
        if (e.Folder)
            zip.AddFolder(e.Name, e.Modified);
        else if (!e.SourcePath.empty())
            zip.AddFile(e.Name, e.SourcePath);
        else
            zip.AddData(e.Name, e.Data, e.Modified);
        if (progress) progress(zip.BytesWritten());
    }
    zip.Finish();
}

} // namespace Corvane::Pack
