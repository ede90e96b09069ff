// The bridge module's life, the dispatcher with the one place that posts replies, and the argument
// readers.
#include "bridge/BrowserExternalModule.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "abi/CaseMap.h"
#include "bridge/BrowserExternalForm.h"
#include "browser/BrowserForm.h"
#include "browser/EdgeText.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/Process.h"
#include "shared/ProjectIni.h"
#include "shared/StrUtils.h"

namespace Corvane::Bridge {

using namespace Corvane::Abi;
using namespace Corvane::Shared;
using namespace Corvane::Browser;

namespace {

// Builds the document like the library's own parser, but a number with a fraction or an exponent
// stays the text it was sent as: the bridge reads numbers only as text. Stops at kMaxJsonDepth.
class TMessageSax : public nlohmann::detail::json_sax_dom_parser<TJsonValue> {
public:
    using json_sax_dom_parser::json_sax_dom_parser;
    bool number_float(TJsonValue::number_float_t, const TJsonValue::string_t& text) {
        TJsonValue::string_t copy = text;
        return string(copy);
    }
    bool start_object(std::size_t length) { return Enter() && json_sax_dom_parser::start_object(length); }
    bool start_array(std::size_t length) { return Enter() && json_sax_dom_parser::start_array(length); }
    bool end_object() { return Leave() && json_sax_dom_parser::end_object(); }
    bool end_array() { return Leave() && json_sax_dom_parser::end_array(); }
    bool TooDeep() const { return FTooDeep; }

private:
    bool Enter() {
        FTooDeep = ++FDepth > kMaxJsonDepth;
        return !FTooDeep;
    }
    bool Leave() {
        --FDepth;
        return true;
    }
    std::size_t FDepth = 0;
    bool FTooDeep = false;
};

std::string WebMessageJson(TWebMessageReceivedEventArgs& args) {
    WebView2::LPWSTR json = nullptr;
    args.ArgsInterface()->get_WebMessageAsJson(&json);
    return TakeBrowserString(json);
}

std::string WebMessageSource(TWebMessageReceivedEventArgs& args) {
    WebView2::LPWSTR source = nullptr;
    args.ArgsInterface()->get_Source(&source);
    return TakeBrowserString(source);
}

const TJsonValue& RequiredMember(const TJsonValue& document, const char* key) {
    const auto found = document.find(key);
    if (found == document.end()) throw std::invalid_argument(std::string("The call has no \"") + key + "\"");
    return *found;
}

} // namespace

TBrowserExternalModule::TBrowserExternalModule() {
    DataModuleCreate();
}

TBrowserExternalModule::~TBrowserExternalModule() {
    DataModuleDestroy();
}

void TBrowserExternalModule::DataModuleCreate() {
    ClearReferences();
    InFullscreen = false;
    FBrowserExternalForm = std::make_unique<TBrowserExternalForm>();
}

void TBrowserExternalModule::DataModuleDestroy() {
    ClearReferences();
    FBrowserExternalForm.reset();
}

// The archive, the windows and the settings belong to others: the module only lets go of them.
void TBrowserExternalModule::ClearReferences() {
    ExeZip = nullptr;
    MainForm = nullptr;
    ProjectINI = nullptr;
    BrowserForm = nullptr;
    OnAppCloseRequest = nullptr;
}

void TBrowserExternalModule::EdgeBrowserWebMessageReceived(TCustomEdgeBrowser*,
                                                           TWebMessageReceivedEventArgs& args) {
    try {
        Dispatch(args);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "crv: a bridge call ended without reply: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "crv: a bridge call ended without reply\n");
    }
}

void TBrowserExternalModule::Dispatch(TWebMessageReceivedEventArgs& args) {
    // Native functions are for the application's own pages only: a web page that the window was
    // led to must not reach files or the shell.
    if (!StartsWithNoCase(WebMessageSource(args), "file:")) return;

    const TJsonValue document = ParseMessageJson(WebMessageJson(args));
    if (!document.is_object()) throw std::invalid_argument("The call is not a JSON object");
    RequiredMember(document, "id");
    RequiredMember(document, "uuid");
    const std::string id = ReadStringArg(document, "id", "");
    const std::string uuid = ReadStringArg(document, "uuid", "");
    const TJsonValue& data = RequiredMember(document, "data");
    if (!data.is_object()) throw std::invalid_argument("The call's \"data\" is not an object");

    std::int32_t number = 0;
    if (!Shared::TryStrToInt32(id, number)) return;
    const TBridgeFunction* function = FindFunction(number);
    if (!function) return;
    if (function->RuntimeOnlyName && !ExeZip) {
        Platform::TMessageDialogOptions box;
        box.Text = std::string("Calls to ") + function->RuntimeOnlyName + " works only at runtime.";
        box.Title = Platform::ApplicationTitle();
        box.Kind = Platform::TDialogKind::Information;
        box.Buttons = {Platform::TDialogButton::OK};
        Platform::ShowMessageDialog(box);
        return;
    }
    const TBridgeOutcome outcome = (this->*function->Handler)(data);
    // Without a reply nothing of the module is touched again: app.close may have ended the window.
    if (outcome.Kind() != TBridgeOutcome::TKind::NoReply) PostReply(uuid, outcome);
}

void TBrowserExternalModule::PostReply(const std::string& uuid, const TBridgeOutcome& outcome) {
    auto* webView = BrowserForm ? BrowserForm->EdgeBrowser().DefaultInterface() : nullptr;
    const WebView2::HRESULT result =
        webView ? webView->PostWebMessageAsJson(TBrowserText(BuildResponse(uuid, outcome)))
                : WebView2::E_FAIL;
    // The page's promise stays pending: say which call it is.
    if (result < 0)
        std::fprintf(stderr, "crv: the reply to bridge call %s could not be posted (0x%08X)\n",
                     QuotedUUID(uuid).c_str(), static_cast<unsigned>(result));
}

TBridgeOutcome SystemOutcome(bool accepted) {
    return accepted ? TBridgeOutcome::Result(true)
                    : TBridgeOutcome::Reject(SystemErrorText(Platform::LastErrorCode()));
}

EJsonTooDeep::EJsonTooDeep()
    : std::invalid_argument("The JSON nests deeper than " + std::to_string(kMaxJsonDepth) + " levels") {}

TJsonValue ParseMessageJson(const std::string& text) {
    TJsonValue document;
    TMessageSax sax(document);
    if (!TJsonValue::sax_parse(text, &sax)) {
        if (sax.TooDeep()) throw EJsonTooDeep();
        throw std::invalid_argument("The JSON is not complete");
    }
    return document;
}

std::string TBrowserExternalModule::ReadStringArg(const TJsonValue& data, const std::string& key,
                                                  const std::string& fallback) {
    const auto found = data.find(key);
    if (found == data.end() || found->is_null()) return fallback;
    if (found->is_string()) return found->get<std::string>();
    if (found->is_boolean()) return found->get<bool>() ? "true" : "false";
    if (found->is_number()) return found->dump();
    throw std::invalid_argument("The argument \"" + key + "\" is not text");
}

bool TBrowserExternalModule::ReadBoolArg(const TJsonValue& data, const std::string& key, bool fallback) {
    const auto found = data.find(key);
    if (found == data.end() || found->is_null()) return fallback;
    if (found->is_boolean()) return found->get<bool>();
    throw std::invalid_argument("The argument \"" + key + "\" is not true or false");
}

std::string SystemErrorText(int code) {
    std::string text = Platform::SysErrorMessage(code);
    while (!text.empty() && std::string_view(" \t\r\n.").find(text.back()) != std::string_view::npos)
        text.pop_back();
    return text;
}

} // namespace Corvane::Bridge
