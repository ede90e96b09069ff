// Walks the application folder into a sorted list of archive entries.
#include "AppFolder.h"

#include "PackErrors.h"
#include "abi/CaseMap.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <system_error>

#include <dirent.h>
#include <sys/stat.h>

namespace Corvane::Pack {

namespace {

using Corvane::Abi::LowerAscii;

[[noreturn]] void ThrowFileError(const std::string& what, const std::string& path) {
    throw std::system_error(errno, std::generic_category(), what + " \"" + path + "\"");
}

class TWalker {
public:
    TWalker(const std::vector<TFileId>& exclude, std::vector<TPlannedEntry>& out)
        : FExclude(exclude), FOut(out) {}

    void Walk(const std::string& folder, const std::string& prefix, std::vector<TFileId>& ancestors) {
        for (const std::string& name : ReadNames(folder)) {
            const std::string path = folder + "/" + name;
            struct stat info {};
            if (::stat(path.c_str(), &info) != 0) {
                struct stat link {};
                if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
                    Warn("skipped the broken symbolic link \"" + path + "\"");
                    continue;
                }
                ThrowFileError("Cannot read", path);
            }
            const TFileId id{info.st_dev, info.st_ino};
            if (std::find(FExclude.begin(), FExclude.end(), id) != FExclude.end()) continue;
            if (S_ISDIR(info.st_mode)) {
                if (std::find(ancestors.begin(), ancestors.end(), id) != ancestors.end()) {
                    Warn("skipped \"" + path + "\": a symbolic link back into its own folder");
                    continue;
                }
                FOut.push_back(TPlannedEntry::MakeFolder(prefix + name + "/", info.st_mtime));
                ancestors.push_back(id);
                Walk(path, prefix + name + "/", ancestors);
                ancestors.pop_back();
            } else if (S_ISREG(info.st_mode)) {
                FOut.push_back(TPlannedEntry::MakeFile(prefix + name, path, info.st_mtime,
                                                       static_cast<std::uint64_t>(info.st_size)));
            } else {
                Warn("skipped \"" + path + "\": not a file or folder");
            }
        }
    }

private:
    static std::vector<std::string> ReadNames(const std::string& folder) {
        DIR* dir = ::opendir(folder.c_str());
        if (!dir) ThrowFileError("Cannot read the folder", folder);
        std::vector<std::string> names;
        errno = 0;
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
            errno = 0;
        }
        const int error = errno;
        ::closedir(dir);
        if (error != 0) {
            errno = error;
            ThrowFileError("Cannot read the folder", folder);
        }
        return names;
    }

    const std::vector<TFileId>& FExclude;
    std::vector<TPlannedEntry>& FOut;
};

void WarnAboutCaseTwins(const std::vector<TPlannedEntry>& entries) {
    std::map<std::string, std::vector<const std::string*>> byFolded;
    for (const TPlannedEntry& e : entries)
        byFolded[LowerAscii(e.Name)].push_back(&e.Name);
    for (const auto& [folded, names] : byFolded)
        if (names.size() > 1) {
            std::string list;
            for (const std::string* n : names)
                list += (list.empty() ? "\"" : ", \"") + *n + "\"";
            Warn("the names " + list +
                 " differ only in case; the package finds entries without regard "
                 "to case, so only one of them can be reached");
        }
}

} // namespace

bool GetFileId(const std::string& path, TFileId& id) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    id = {info.st_dev, info.st_ino};
    return true;
}

std::vector<TPlannedEntry> ListAppFolder(const std::string& appDir, const std::string& dirName,
                                         const std::vector<TFileId>& exclude) {
    struct stat root {};
    if (::stat(appDir.c_str(), &root) != 0) ThrowFileError("Cannot read the folder", appDir);
    std::vector<TPlannedEntry> entries;
    entries.push_back(TPlannedEntry::MakeFolder(dirName + "/", root.st_mtime));
    std::vector<TFileId> ancestors{{root.st_dev, root.st_ino}};
    TWalker(exclude, entries).Walk(appDir, dirName + "/", ancestors);
    std::sort(entries.begin(), entries.end(),
              [](const TPlannedEntry& a, const TPlannedEntry& b) { return a.Name < b.Name; });
    WarnAboutCaseTwins(entries);
    return entries;
}

bool HoldsFile(const std::vector<TPlannedEntry>& entries, const std::string& name) {
    const std::string folded = LowerAscii(name);
    return std::any_of(entries.begin(), entries.end(),
                       [&](const TPlannedEntry& e) { return !e.Folder && LowerAscii(e.Name) == folded; });
}

} // namespace Corvane::Pack
