// The browser's process-wide state.
#include "webview/BrowserContext.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include "webview/Automation.h"
#include "webview/ExtensionFolder.h"
#include "webview/FileUris.h"
#include "webview/ResourceRequests.h"

namespace CrvWebView {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool ParseColor(const std::string& text, GdkRGBA& color) {
    if (text.size() != 6 && text.size() != 8) return false;
    unsigned long value = 0;
    for (const char c : text) {
        const int digit = g_ascii_xdigit_value(c);
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned long>(digit);
    }
    const unsigned long alpha = text.size() == 8 ? (value >> 24) & 0xFF : 0xFF;
    color.red = ((value >> 16) & 0xFF) / 255.0;
    color.green = ((value >> 8) & 0xFF) / 255.0;
    color.blue = (value & 0xFF) / 255.0;
    color.alpha = alpha / 255.0;
    return true;
}

std::string LanguageArgument(const std::string& arguments) {
    std::istringstream words(arguments);
    std::string word;
    while (words >> word)
        if (word.rfind("--lang=", 0) == 0) return word.substr(7);
    return {};
}

WebKitWebContext* MakeContext(const TEnvironmentOptions& options) {
    WebKitWebContext* context = nullptr;
    if (options.UserDataFolder.empty()) {
        context = webkit_web_context_new();
    } else {
        gchar* data = g_build_filename(options.UserDataFolder.c_str(), "WebKit", "data", nullptr);
        gchar* cache = g_build_filename(options.UserDataFolder.c_str(), "WebKit", "cache", nullptr);
        WebKitWebsiteDataManager* manager = webkit_website_data_manager_new(
            "base-data-directory", data, "base-cache-directory", cache, nullptr);
        context = webkit_web_context_new_with_website_data_manager(manager);
        g_object_unref(manager);
        g_free(data);
        g_free(cache);
    }
    // The extension moves the file: requests of the app's pages to the private scheme.
    const std::string extensions = PrepareExtensionFolder(options.UserDataFolder);
    if (!extensions.empty()) webkit_web_context_set_web_extensions_directory(context, extensions.c_str());
    const std::string scheme(kPrivateScheme);
    webkit_web_context_register_uri_scheme(context, scheme.c_str(), HandleSchemeRequest, nullptr, nullptr);
    // Secure and CORS-enabled so pages of the scheme get secure-context features and may fetch their
    // own files; local so that remote pages cannot load anything from it.
    WebKitSecurityManager* security = webkit_web_context_get_security_manager(context);
    webkit_security_manager_register_uri_scheme_as_secure(security, scheme.c_str());
    webkit_security_manager_register_uri_scheme_as_cors_enabled(security, scheme.c_str());
    webkit_security_manager_register_uri_scheme_as_local(security, scheme.c_str());
    // fetch(), XHR and module imports of file: URLs would fail before the extension could move them to
    // the private scheme; as CORS requests they reach it, and the host's answers let the app's pages read
    // them.
    webkit_security_manager_register_uri_scheme_as_cors_enabled(security, "file");
    if (!options.Language.empty()) {
        const gchar* languages[] = {options.Language.c_str(), nullptr};
        webkit_web_context_set_preferred_languages(context, languages);
    }
    AllowAutomationIfDriven(context);
    return context;
}

} // namespace

TEnvironmentOptions ReadEnvironmentOptions() {
    TEnvironmentOptions options;
    options.UserDataFolder = Variable("WEBVIEW2_USER_DATA_FOLDER");
    options.HasBackground = ParseColor(Variable("WEBVIEW2_DEFAULT_BACKGROUND_COLOR"), options.Background);
    options.Language = LanguageArgument(Variable("WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS"));
    return options;
}

WebKitWebContext* BrowserContextFor(const TEnvironmentOptions& options) {
    // Contexts live as long as the process: two contexts on one folder would fight over its files.
    static std::map<std::string, WebKitWebContext*> contexts;
    auto& context = contexts[options.UserDataFolder];
    if (!context) context = MakeContext(options);
    return context;
}

} // namespace CrvWebView
