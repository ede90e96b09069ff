// The bridge module's life, the dispatcher, the reply builder and the argument readers.
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

namespace Corvane::Shared {

namespace {

// Builds the document like the library's own parser, but a number with a fraction or an exponent
// stays the text it was sent as: the bridge reads numbers only as text.
class TMessageSax : public nlohmann::detail::json_sax_dom_parser<TJsonValue> {
public:
    using json_sax_dom_parser::json_sax_dom_parser;
    bool number_float(TJsonValue::number_float_t, const TJsonValue::string_t& text) {
        TJsonValue::string_t copy = text;
        return string(copy);
    }
};

std::string WebMessageString(TWebMessageReceivedEventArgs& Args) {
    WebView2::LPWSTR text = nullptr;
    const bool isString = Args.ArgsInterface()->TryGetWebMessageAsString(&text) >= 0;
    std::string message = TakeBrowserString(text);
    return isString ? message : std::string();
}

std::string WebMessageJson(TWebMessageReceivedEventArgs& Args) {
    WebView2::LPWSTR json = nullptr;
    Args.ArgsInterface()->get_WebMessageAsJson(&json);
    return TakeBrowserString(json);
}

std::string WebMessageSource(TWebMessageReceivedEventArgs& Args) {
    WebView2::LPWSTR source = nullptr;
    Args.ArgsInterface()->get_Source(&source);
    return TakeBrowserString(source);
}

const TJsonValue& RequiredMember(const TJsonValue& Document, const char* Key) {
    const auto found = Document.find(Key);
    if (found == Document.end()) throw std::invalid_argument(std::string("The call has no \"") + Key + "\"");
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
                                                           TWebMessageReceivedEventArgs& Args) {
    try {
        Dispatch(Args);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "crv: a bridge call ended without reply: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "crv: a bridge call ended without reply\n");
    }
}

void TBrowserExternalModule::Dispatch(TWebMessageReceivedEventArgs& Args) {
    // Native functions are for the application's own pages only: a web page that the window was
    // led to must not reach files or the shell.
    if (!StartsWithNoCase(WebMessageSource(Args), "file:")) return;

    if (!ExeZip && WebMessageString(Args) == "crv-webbrowser-clicked") {
        if (BrowserForm) {
            if (auto* host = BrowserForm->ParentForm()) host->ClientControl().SetFocus();
            BrowserForm->EdgeBrowser().SetFocus();
        }
        return;
    }

    const TJsonValue document = ParseMessageJson(WebMessageJson(Args));
    if (!document.is_object()) throw std::invalid_argument("The call is not a JSON object");
    RequiredMember(document, "id");
    RequiredMember(document, "uuid");
    const std::string id = ReadStringArg(document, "id", "");
    const std::string uuid = ReadStringArg(document, "uuid", "");
    const TJsonValue& data = RequiredMember(document, "data");
    if (!data.is_object()) throw std::invalid_argument("The call's \"data\" is not an object");

    std::int32_t number = 0;
    if (!Runtime::TryStrToInt32(id, number)) return;
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
    (this->*function->Handler)(uuid, data);
    // Nothing of the module is touched from here on: app.close may have ended the window.
}

std::string BuildResponse(const std::string& UUID, const std::string& Result, bool Success) {
    std::string reply = "{\"uuid\": \"";
    reply += UUID;
    reply += "\", \"success\": ";
    reply += JsonBool(Success);
    reply += ", \"result\": ";
    reply += Result;
    reply += "}";
    return reply;
}

void TBrowserExternalModule::SendResponse(const std::string& UUID, const std::string& Result, bool Success) {
    if (!BrowserForm) return;
    if (auto* webView = BrowserForm->EdgeBrowser().DefaultInterface())
        webView->PostWebMessageAsJson(TBrowserText(BuildResponse(UUID, Result, Success)));
}

void TBrowserExternalModule::SendSuccess(const std::string& UUID, const std::string& Result) {
    SendResponse(UUID, Result, true);
}

void TBrowserExternalModule::SendError(const std::string& UUID, const std::string& Result) {
    SendResponse(UUID, Result, false);
}

void TBrowserExternalModule::SendSystemReply(const std::string& UUID, bool Accepted) {
    if (Accepted)
        SendSuccess(UUID, "true");
    else
        SendError(UUID, TStrUtils::StringToJsonString(SystemErrorText(Platform::LastErrorCode())));
}

TJsonValue ParseMessageJson(const std::string& Text) {
    TJsonValue document;
    TMessageSax sax(document);
    TJsonValue::sax_parse(Text, &sax);
    return document;
}

std::string TBrowserExternalModule::ReadStringArg(const TJsonValue& Data, const std::string& Key,
                                                  const std::string& Default) {
    const auto found = Data.find(Key);
    if (found == Data.end() || found->is_null()) return Default;
    if (found->is_string()) return found->get<std::string>();
    if (found->is_boolean()) return JsonBool(found->get<bool>());
    if (found->is_number()) return found->dump();
    throw std::invalid_argument("The argument \"" + Key + "\" is not text");
}

bool TBrowserExternalModule::ReadBoolArg(const TJsonValue& Data, const std::string& Key, bool Default) {
    const auto found = Data.find(Key);
    if (found == Data.end() || found->is_null()) return Default;
    if (found->is_boolean()) return found->get<bool>();
    throw std::invalid_argument("The argument \"" + Key + "\" is not true or false");
}

std::string SystemErrorText(int Code) {
    std::string text = Platform::SysErrorMessage(Code);
    while (!text.empty() && std::string_view(" \t\r\n.").find(text.back()) != std::string_view::npos)
        text.pop_back();
    return text;
}

} // namespace Corvane::Shared
