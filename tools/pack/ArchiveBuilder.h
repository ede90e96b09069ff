// Builds the package archive: the fixed root entries first, then the application's entries.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AppFolder.h"

namespace Corvane::Pack {

struct TRootFiles {
    std::string IniText;   // crv.ini content
    std::string Script;    // file stored as crv-webviewjs; empty: none
    std::string Loader;    // file stored as WebView2LoaderWin64.dll; empty: none
    std::string Installer; // file stored as WebView2Installer.exe; empty: none
};

// The archive's entries in order: crv.ini, crv-webviewjs, WebView2LoaderWin64.dll,
// WebView2Installer.exe (each when given), then appEntries.
std::vector<TPlannedEntry> PlanArchive(const TRootFiles& root, std::vector<TPlannedEntry> appEntries);

// Exact size of the archive that WriteArchive makes of these entries (if no file changes meanwhile).
std::uint64_t ArchiveSize(const std::vector<TPlannedEntry>& entries);

// Writes the encrypted archive to zipPath; progress gets the bytes written so far.
void WriteArchive(const std::vector<TPlannedEntry>& entries, const std::string& zipPath,
                  const std::function<void(std::uint64_t)>& progress);

} // namespace Corvane::Pack
