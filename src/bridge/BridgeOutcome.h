// What a bridge handler answers: a result, a rejection, or no reply at all. The dispatcher alone
// turns it into the reply that settles the page's promise.
#pragma once

#include <string>
#include <utility>

#include <nlohmann/json_fwd.hpp>

namespace Corvane::Bridge {

class TBridgeOutcome {
public:
    enum class TKind { Result, Reject, NoReply };

    // Resolves the call with value. Strings anywhere in it are written as StringToJsonString
    // writes them (pure ASCII, one escape per UTF-16 code unit); arrays and objects without blanks.
    static TBridgeOutcome Result(const nlohmann::json& value);
    // Rejects the call with text as a JSON string.
    static TBridgeOutcome Reject(const std::string& text);
    // The page's promise stays pending.
    static TBridgeOutcome NoReply() { return TBridgeOutcome(TKind::NoReply, {}); }

    TKind Kind() const { return FKind; }
    // The reply's "result" as JSON text; empty for NoReply.
    const std::string& ResultJson() const { return FResultJson; }

private:
    TBridgeOutcome(TKind kind, std::string resultJson) : FKind(kind), FResultJson(std::move(resultJson)) {}

    TKind FKind;
    std::string FResultJson;
};

// The uuid as a JSON string; bytes that are not UTF-8 become U+FFFD.
std::string QuotedUUID(const std::string& uuid);

// The reply text: {"uuid": <uuid>, "success": <true|false>, "result": <result>}, one blank after each
// colon and comma. The uuid is a proper JSON string, so no uuid can break the reply or name another
// call. Not for NoReply.
std::string BuildResponse(const std::string& uuid, const TBridgeOutcome& outcome);

} // namespace Corvane::Bridge
