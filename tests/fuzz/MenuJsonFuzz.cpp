// The menu a page describes in JSON text: built, then walked by an update; rejected with a reply,
// or ended without one, but never a crash however the text nests.
#include <string>

#include "BridgeHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string items(Fuzz::Text(data, size));
    const nlohmann::json set = {{"id", 12001}, {"uuid", "u"}, {"data", {{"items", items}}}};
    auto& bridge = Fuzz::TBridge::Get();
    Fuzz::TBridge::CheckReplies(
        bridge.Deliver(set.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)), "u");
    const nlohmann::json update = {{"id", 12002}, {"uuid", "u"}, {"data", {{"id", "2"}, {"caption", "B"}}}};
    Fuzz::TBridge::CheckReplies(bridge.Deliver(update.dump()), "u");
    return 0;
}
