// mainMenu.*: the main window's menu bar built from the page's JSON, its pictures, and its clicks.
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <nlohmann/json.hpp>

#include "abi/CaseMap.h"
#include "abi/Utf.h"
#include "bridge/BrowserExternalForm.h"
#include "bridge/BrowserExternalModule.h"
#include "browser/BrowserForm.h"
#include "platform/Form.h"
#include "platform/Menu.h"
#include "platform/Process.h"
#include "shared/ProjectIni.h"
#include "shared/ZipReader.h"

namespace Corvane::Bridge {

using namespace Corvane::Abi;
using namespace Corvane::Shared;
using namespace Corvane::Browser;

namespace {

// The words true and false in any letter case, or a number: 0 is false, any other true. Anything
// else ends the call without reply.
bool EnabledFromText(const std::string& text) {
    const std::string lower = LowerAscii(text);
    if (lower == "true") return true;
    if (lower == "false") return false;
    std::int32_t integer = 0;
    if (Shared::TryStrToInt32(text, integer)) return integer != 0;
    std::string_view number(text);
    while (!number.empty() && number.front() == ' ')
        number.remove_prefix(1);
    while (!number.empty() && number.back() == ' ')
        number.remove_suffix(1);
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || error != std::errc() || end != number.data() + number.size())
        throw std::invalid_argument("\"" + text + "\" is not a Boolean");
    return value != 0;
}

// True with the file's bytes when path names a file; a file that cannot be read throws.
bool ReadFileIfPresent(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(Abi::Utf8Path(path), error)) return false;
    std::ifstream in(Abi::Utf8Path(path), std::ios::binary);
    if (!in) throw std::runtime_error("Cannot read the picture \"" + path + "\"");
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error("Cannot read the picture \"" + path + "\"");
    return true;
}

// An id or caption must be a plain value.
bool IsPlainMember(const TJsonValue& item, const char* key) {
    const auto found = item.find(key);
    return found != item.end() && !found->is_object() && !found->is_array();
}

std::int32_t TagFromText(const std::string& text) {
    std::int32_t tag = 0;
    return Shared::TryStrToInt32(text, tag) ? tag : 0;
}

} // namespace

TBridgeOutcome TBrowserExternalModule::MainMenuSetItems(const TJsonValue& data) {
    const std::string items = ReadStringArg(data, "items", "");
    if (items.empty()) return TBridgeOutcome::Reject("Missing menu items");

    auto& form = *FBrowserExternalForm;
    if (MainForm) MainForm->SetMenu(&form.MainMenu);
    form.MainMenu.Items().Clear();
    form.MainMenuImageCollection.Clear();
    form.MainMenuVirtualImageList.Change();

    TJsonValue list;
    try {
        list = ParseMessageJson(items);
    } catch (const EJsonTooDeep& e) {
        return TBridgeOutcome::Reject(std::string("Wrong menu items JSON: ") + e.what());
    } catch (const std::exception&) {
        return TBridgeOutcome::Reject("Wrong menu items JSON");
    }
    if (!list.is_array()) return TBridgeOutcome::Reject("Wrong menu items JSON");

    for (const auto& element : list) {
        auto& item = form.MainMenu.Items().Add();
        if (!BuildMenuItem(element, item)) {
            form.MainMenu.Items().Clear();
            return TBridgeOutcome::Reject("Wrong menu item JSON");
        }
    }
    return TBridgeOutcome::Result(true);
}

bool TBrowserExternalModule::BuildMenuItem(const TJsonValue& item, Platform::TMenuItem& menuItem) {
    // Not an object: no reply, and what was built so far stays.
    if (!item.is_object()) throw std::invalid_argument("A menu item is not a JSON object");
    if (!IsPlainMember(item, "id") || !IsPlainMember(item, "caption")) return false;
    menuItem.SetTag(TagFromText(ReadStringArg(item, "id", "")));
    menuItem.SetCaption(ReadStringArg(item, "caption", ""));
    if (item.contains("enabled")) menuItem.SetEnabled(EnabledFromText(ReadStringArg(item, "enabled", "")));
    if (item.contains("image")) LoadMenuImage(ReadStringArg(item, "image", ""), menuItem);

    const auto children = item.find("items");
    if (children == item.end()) {
        menuItem.OnClick = [this](Platform::TMenuItem& sender) { MainMenuItemClick(sender); };
        return true;
    }
    if (!children->is_array()) return false;
    for (const auto& element : *children) {
        auto& child = menuItem.Add();
        if (!BuildMenuItem(element, child)) return false;
    }
    return true;
}

void TBrowserExternalModule::LoadMenuImage(const std::string& path, Platform::TMenuItem& menuItem) {
    std::vector<std::uint8_t> bytes;
    if (ExeZip && !path.empty() && ExeZip->FindFile(path) >= 0) {
        if (!ExeZip->ExtractToStream(path, bytes))
            throw std::runtime_error("Cannot extract the picture \"" + path + "\" from the package");
    } else if (!ReadFileIfPresent(Platform::GetExecutableFolder() + path, bytes)) {
        ReadFileIfPresent(path, bytes);
    }
    if (bytes.empty()) return;

    auto& form = *FBrowserExternalForm;
    const int index = form.MainMenuImageCollection.Count();
    const std::string name = "MainMenuImg" + std::to_string(index);
    form.MainMenuImageCollection.Add(name, bytes);
    form.MainMenuVirtualImageList.Change();
    menuItem.SetImageName(name);
    menuItem.SetImageIndex(index);
}

TBridgeOutcome TBrowserExternalModule::MainMenuUpdateItem(const TJsonValue& data) {
    const std::string id = ReadStringArg(data, "id", "");
    if (id.empty()) return TBridgeOutcome::Reject("Missing item ID");
    std::int32_t tag = 0;
    if (!Shared::TryStrToInt32(id, tag) || tag == -1) return TBridgeOutcome::Reject("Wrong item ID");
    auto& root = FBrowserExternalForm->MainMenu.Items();
    if (root.Count() == 0) return TBridgeOutcome::Reject("No menu items");

    Platform::TMenuItem* item = nullptr;
    for (int i = 0; i < root.Count() && !item; ++i)
        item = FindMenuItemByTag(root.Item(i), tag);
    if (item) {
        const std::string caption = ReadStringArg(data, "caption", "");
        if (!caption.empty()) item->SetCaption(caption);
        const std::string enabled = ReadStringArg(data, "enabled", "");
        if (!enabled.empty()) item->SetEnabled(EnabledFromText(enabled));
        const std::string image = ReadStringArg(data, "image", "");
        if (!image.empty()) LoadMenuImage(image, *item);
    }
    return TBridgeOutcome::Result(true);
}

Platform::TMenuItem* TBrowserExternalModule::FindMenuItemByTag(Platform::TMenuItem& menuItem,
                                                               std::int32_t tag) {
    if (menuItem.Tag() == tag) return &menuItem;
    for (int i = 0; i < menuItem.Count(); ++i)
        if (auto* found = FindMenuItemByTag(menuItem.Item(i), tag)) return found;
    return nullptr;
}

void TBrowserExternalModule::MainMenuItemClick(Platform::TMenuItem& sender) {
    if (!BrowserForm) return;
    BrowserForm->EdgeBrowser().ExecuteScript("crv.events.onMainMenuItemClick(" +
                                             std::to_string(sender.Tag()) + ");");
}

} // namespace Corvane::Bridge
