// Writes a starter app: the smallest page that reaches window.crv, ready for crv-pack --run.
#include "StarterApp.h"

#include <cerrno>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "PackErrors.h"

namespace Corvane::Pack {

namespace fs = std::filesystem;

namespace {

constexpr const char* kIndexHtml = R"(<!DOCTYPE html>
<html lang="en">
<head>
  <meta charset="utf-8">
  <title>My crv app</title>
  <style>
    body { font-family: sans-serif; margin: 2em; }
  </style>
</head>
<body>
  <h1>My crv app</h1>
  <p id="status">Starting…</p>
  <button id="title">Put the time in the window's caption</button>
  <script src="app.js"></script>
</body>
</html>
)";

constexpr const char* kAppJs = R"(/// <reference path="crv.d.ts" />
// The app's script. window.crv holds the native functions of the runtime; crv.d.ts declares them
// for editors and type checkers. Pack and start the app again after each change with
// crv-pack --run on this folder.
const status = document.getElementById("status");

async function start() {
  if (!window.crv) {
    status.textContent = "This is a plain browser: window.crv is only there inside a crv package.";
    return;
  }
  const version = await crv.hello();
  status.textContent = "Running inside crv " + version + ".";
  document.getElementById("title").addEventListener("click", () =>
    crv.window.setTitle({ title: "My crv app at " + new Date().toLocaleTimeString() }));
}

// Errors show in the page, where they are seen while editing.
const started = start().catch((error) => { status.textContent = "Error: " + error; });
)";

void WriteText(const fs::path& path, const char* text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out)
        throw std::system_error(errno, std::generic_category(), "Cannot write \"" + path.string() + "\"");
}

} // namespace

void WriteStarterApp(const fs::path& folder, const fs::path& typesFile) {
    std::error_code error;
    if (fs::exists(folder, error)) {
        if (!fs::is_directory(folder, error))
            throw std::runtime_error("\"" + folder.string() + "\" is not a folder");
        if (!fs::is_empty(folder, error) || error)
            throw std::runtime_error("The folder \"" + folder.string() +
                                     "\" is not empty; --init writes only into a new or empty folder");
    } else if (!fs::create_directories(folder, error)) {
        throw std::system_error(error, "Cannot make the folder \"" + folder.string() + "\"");
    }
    WriteText(folder / "index.html", kIndexHtml);
    WriteText(folder / "app.js", kAppJs);
    if (!fs::copy_file(typesFile, folder / "crv.d.ts", error))
        Warn("no crv.d.ts at " + typesFile.string() + ": app.js refers to one, for editors only");
}

} // namespace Corvane::Pack
