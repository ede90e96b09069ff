// Handler outcomes and the reply text built from them.
#include "bridge/BridgeOutcome.h"

#include <nlohmann/json.hpp>

#include "shared/StrUtils.h"

namespace Corvane::Bridge {

using namespace Corvane::Shared;

namespace {

// The library's own dump would keep non-ASCII bytes as they are and leave '/' alone; pages have
// always received results with every string quoted the one way below.
void AppendResult(std::string& Out, const nlohmann::json& Value) {
    switch (Value.type()) {
    case nlohmann::json::value_t::string:
        Out += TStrUtils::StringToJsonString(Value.get_ref<const std::string&>());
        return;
    case nlohmann::json::value_t::array: {
        Out += '[';
        for (size_t i = 0; i < Value.size(); ++i) {
            if (i > 0) Out += ',';
            AppendResult(Out, Value[i]);
        }
        Out += ']';
        return;
    }
    case nlohmann::json::value_t::object: {
        Out += '{';
        bool first = true;
        for (const auto& [key, member] : Value.items()) {
            if (!first) Out += ',';
            first = false;
            Out += TStrUtils::StringToJsonString(key);
            Out += ':';
            AppendResult(Out, member);
        }
        Out += '}';
        return;
    }
    default:
        Out += Value.dump();
    }
}

} // namespace

TBridgeOutcome TBridgeOutcome::Result(const nlohmann::json& Value) {
    std::string text;
    AppendResult(text, Value);
    return TBridgeOutcome(TKind::Result, std::move(text));
}

TBridgeOutcome TBridgeOutcome::Reject(const std::string& Text) {
    return TBridgeOutcome(TKind::Reject, TStrUtils::StringToJsonString(Text));
}

std::string QuotedUUID(const std::string& UUID) {
    // The uuid is whatever the page sent: a reply must be built for any text.
    return nlohmann::json(UUID).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string BuildResponse(const std::string& UUID, const TBridgeOutcome& Outcome) {
    std::string reply = "{\"uuid\": ";
    reply += QuotedUUID(UUID);
    reply += ", \"success\": ";
    reply += Outcome.Kind() == TBridgeOutcome::TKind::Result ? "true" : "false";
    reply += ", \"result\": ";
    reply += Outcome.ResultJson();
    reply += "}";
    return reply;
}

} // namespace Corvane::Bridge
