// The browser's process-wide state: one web context per user data folder, with the private scheme
// registered, and the WEBVIEW2_* environment variables that mean something here.
#pragma once

#include <string>

#include <webkit2/webkit2.h>

namespace CrvWebView {

struct TEnvironmentOptions {
    // WEBVIEW2_USER_DATA_FOLDER: where the browser keeps cookies, storage and its cache. Empty: the
    // browser's own default folders.
    std::string UserDataFolder;
    // WEBVIEW2_DEFAULT_BACKGROUND_COLOR (RRGGBB or AARRGGBB in hex).
    bool HasBackground = false;
    GdkRGBA Background{};
    // --lang=xx of WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS: the pages' preferred language.
    std::string Language;
};

// Read on the calling thread when the environment is asked for.
TEnvironmentOptions ReadEnvironmentOptions();

// The web context for the options' data folder, made on first use and kept for the process.
WebKitWebContext* BrowserContextFor(const TEnvironmentOptions& options);

} // namespace CrvWebView
