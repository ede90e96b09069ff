// Start-up: opens the package's archive, reads the settings, derives the application's identity
// and prepares its data folder and the browser's environment. Sets the process-wide state below
// once; everything else only reads it.
#pragma once

#include <string>

#include "shared/ProjectIni.h"
#include "shared/ZipReader.h"

namespace Corvane::Runtime {

extern Shared::TZipReader* ExeZip;
extern Shared::TProjectIni* ProjectINI;
extern std::string RuntimeAppID;
extern std::string AppName;
extern std::string AppDirName;
extern std::string AppIndexHtml;
extern std::string AppDataDirPath;
extern std::string AppWin64DirPath;

// Returns only when start-up may go on; every refusal ends the process inside it (exit code 0).
// Errors nothing here handles (a damaged archive, a folder that cannot be made) throw.
void LoadExeZip();

// The environment the browser runtime inherits.
inline constexpr const char* kAdditionalBrowserArguments =
    "--disable-logging --disable-features=RendererCodeIntegrity --enable-features=msSpeechRecognition";

} // namespace Corvane::Runtime
