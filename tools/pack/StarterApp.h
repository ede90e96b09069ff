// The app that --init writes: a page, its script and the types of window.crv.
#pragma once

#include <filesystem>

namespace Corvane::Pack {

// Writes index.html, app.js and a copy of typesFile (crv.d.ts) into folder, which is made when
// missing. Throws for a folder that holds anything, or that cannot be written. A missing typesFile
// is a warning: the app runs without it.
void WriteStarterApp(const std::filesystem::path& folder, const std::filesystem::path& typesFile);

} // namespace Corvane::Pack
