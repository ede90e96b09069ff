// Fixed facts of the package archive that the packager writes and the runtime reads.
#pragma once

#include <cstdint>

namespace Corvane::Shared {

// Every entry is encrypted under this password; its bytes are the key.
inline constexpr const char* kArchivePassword = "tqwm7pz1vcha5xk8lyfr2ebg6ju0nhs3wkqa";

// Entries at the archive's root.
inline constexpr const char* kSettingsEntry = "crv.ini";
inline constexpr const char* kScriptEntry = "crv-webviewjs";
inline constexpr const char* kLoaderEntry = "WebView2LoaderWin64.dll";
inline constexpr const char* kInstallerEntry = "WebView2Installer.exe";

// The settings file is a few lines; one far larger is refused before it is parsed.
inline constexpr std::uint64_t kMaxSettingsSize = 1u << 20;

} // namespace Corvane::Shared
