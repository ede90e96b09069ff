// Handler outcomes and the reply text built from them.
#include "bridge/BridgeOutcome.h"

#include <nlohmann/json.hpp>

#include "shared/StrUtils.h"

namespace Corvane::Bridge {

using namespace Corvane::Shared;

namespace {

// The library's own dump would keep non-ASCII bytes as they are and leave '/' alone; pages have
// always received results with every string quoted the one way below.
void AppendResult(std::string& out, const nlohmann::json& value) {
    switch (value.type()) {
    case nlohmann::json::value_t::string:
        out += TStrUtils::StringToJsonString(value.get_ref<const std::string&>());
        return;
    case nlohmann::json::value_t::array: {
        out += '[';
        for (size_t i = 0; i < value.size(); ++i) {
            if (i > 0) out += ',';
            AppendResult(out, value[i]);
        }
        out += ']';
        return;
    }
    case nlohmann::json::value_t::object: {
        out += '{';
        bool first = true;
        for (const auto& [key, member] : value.items()) {
            if (!first) out += ',';
            first = false;
            out += TStrUtils::StringToJsonString(key);
            out += ':';
            AppendResult(out, member);
        }
        out += '}';
        return;
    }
    default:
        out += value.dump();
    }
}

} // namespace

TBridgeOutcome TBridgeOutcome::Result(const nlohmann::json& value) {
    std::string text;
    AppendResult(text, value);
    return TBridgeOutcome(TKind::Result, std::move(text));
}

TBridgeOutcome TBridgeOutcome::Reject(const std::string& text) {
    return TBridgeOutcome(TKind::Reject, TStrUtils::StringToJsonString(text));
}

std::string QuotedUUID(const std::string& uuid) {
    // The uuid is whatever the page sent: a reply must be built for any text.
    return nlohmann::json(uuid).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string BuildResponse(const std::string& uuid, const TBridgeOutcome& outcome) {
    std::string reply = "{\"uuid\": ";
    reply += QuotedUUID(uuid);
    reply += ", \"success\": ";
    reply += outcome.Kind() == TBridgeOutcome::TKind::Result ? "true" : "false";
    reply += ", \"result\": ";
    reply += outcome.ResultJson();
    reply += "}";
    return reply;
}

} // namespace Corvane::Bridge
