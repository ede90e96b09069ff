// Lists the application folder as archive entries.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace Corvane::Pack {

// One entry to be written: a folder, a file on disk, or generated data.
struct TPlannedEntry {
    std::string Name;       // name in the archive, '/' separated; folders end with '/'
    std::string SourcePath; // file to stream; empty for folders and generated data
    std::string Data;       // generated content
    bool Folder = false;
    std::int64_t Modified = 0; // Unix time; 0 for now
    std::uint64_t Size = 0;

    static TPlannedEntry MakeFolder(std::string name, std::int64_t modified) {
        TPlannedEntry e;
        e.Name = std::move(name);
        e.Folder = true;
        e.Modified = modified;
        return e;
    }
    static TPlannedEntry MakeFile(std::string name, std::string sourcePath, std::int64_t modified,
                                  std::uint64_t size) {
        TPlannedEntry e;
        e.Name = std::move(name);
        e.SourcePath = std::move(sourcePath);
        e.Modified = modified;
        e.Size = size;
        return e;
    }
    static TPlannedEntry MakeData(std::string name, std::string data) {
        TPlannedEntry e;
        e.Name = std::move(name);
        e.Data = std::move(data);
        e.Size = e.Data.size();
        return e;
    }
};

struct TFileId {
    dev_t Device;
    ino_t Inode;
    bool operator==(const TFileId&) const = default;
};

// The identity of the file at path, following links; false when there is none.
bool GetFileId(const std::string& path, TFileId& id);

// APP_DIR as entries under "dirName/": that folder first, then every folder and file inside, sorted
// by name byte by byte (so a folder comes right before its content). Symbolic links are followed;
// broken links, link loops and special files are skipped with a warning; the files in exclude
// (the package being written, its temporary files) are skipped silently. Names that differ only
// in case are warned about, since the runtime finds entries without regard to case.
// A folder or file that cannot be read throws std::system_error.
std::vector<TPlannedEntry> ListAppFolder(const std::string& appDir, const std::string& dirName,
                                         const std::vector<TFileId>& exclude);

// Whether the entries hold a file of that name, matched as the runtime matches (ASCII case ignored).
bool HoldsFile(const std::vector<TPlannedEntry>& entries, const std::string& name);

} // namespace Corvane::Pack
