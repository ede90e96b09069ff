// Temporary files beside a target that replace it in one rename, and are removed on any failure,
// also when the process is interrupted by SIGINT, SIGTERM or SIGHUP.
#pragma once

#include <string>

namespace Corvane::Pack {

class TTempFile {
public:
    // Creates an empty file ".NAME.TAG-XXXXXX" in target's folder (mode 0600). Throws
    // std::system_error naming the folder when it cannot be written.
    TTempFile(const std::string& target, const std::string& tag);
    // Removes the file unless it was committed.
    ~TTempFile();
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    const std::string& Path() const { return FPath; }
    // Gives the file mode & ~umask, flushes it to disk and renames it over target.
    void CommitTo(const std::string& target, unsigned mode);

private:
    std::string FPath;
    int FSlot = -1;
};

// Removes the temporary files if the process is interrupted; call once before creating any.
void InstallInterruptCleanup();

// Copies the file at from into the existing file at to (replacing its content), in blocks.
void CopyFileContent(const std::string& from, const std::string& to);

// The folder part of a path ("." for a bare name).
std::string FolderOf(const std::string& path);

} // namespace Corvane::Pack
