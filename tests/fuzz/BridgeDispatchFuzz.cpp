// Messages as a page posts them, through the dispatcher to the handlers that only read or answer:
// those that write files, run programs, open dialogs or end the session are kept out of reach.
#include <algorithm>
#include <string>

#include "BridgeHarness.h"
#include "shared/StrUtils.h"

using Corvane::Bridge::TBrowserExternalModule;

namespace {

constexpr int kHarmless[] = {10001, 10002, 12001, 12002, 30001, 40001, 40003, 40004, 40005, 40006,
                             40007, 50001, 50002, 60001, 60003, 60005, 60006, 80001, 80002};

// The id and uuid as the dispatcher will read them; false when the message must not be delivered.
bool Harmless(const std::string& message, std::string& uuid) {
    try {
        const auto document = Corvane::Bridge::ParseMessageJson(message);
        if (!document.is_object()) return true;
        uuid = TBrowserExternalModule::ReadStringArg(document, "uuid", "");
        std::int32_t id = 0;
        if (!Corvane::Shared::TryStrToInt32(TBrowserExternalModule::ReadStringArg(document, "id", ""), id))
            return true;
        return std::find(std::begin(kHarmless), std::end(kHarmless), id) != std::end(kHarmless);
    } catch (const std::exception&) {
        return true; // the dispatcher stops at the same place
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The browser hands messages over as UTF-16: what cannot be converted never arrives as it was.
    const std::string message = Corvane::Abi::Utf16ToUtf8(Corvane::Abi::Utf8ToUtf16(Fuzz::Text(data, size)));
    std::string uuid;
    if (!Harmless(message, uuid)) return 0;
    Fuzz::TBridge::CheckReplies(Fuzz::TBridge::Get().Deliver(message), uuid);
    return 0;
}
