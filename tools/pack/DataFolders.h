// Where crv-pack finds the files it packs by default: beside itself in a build tree, or under
// ../lib/crv and ../share/crv once installed.
#pragma once

#include <filesystem>

namespace Corvane::Pack {

struct TDataFolders {
    std::filesystem::path Lib;   // the runtimes, the Linux loader and installer script
    std::filesystem::path Types; // crv.d.ts
};

// The path of the running crv-pack; argv0 when the system does not tell.
std::filesystem::path OwnPath(const char* argv0);

// The folders for a crv-pack at self. An installed layout (PREFIX/bin/crv-pack beside
// PREFIX/lib/crv) wins; otherwise everything is looked for beside crv-pack.
TDataFolders FindDataFolders(const std::filesystem::path& self);

} // namespace Corvane::Pack
