// The bridge's message and reply formats, handler outcomes, argument reading and function table.
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "bridge/BrowserExternalModule.h"
#include "browser/BrowserForm.h"
#include "platform/Process.h"

using Corvane::Bridge::BuildResponse;
using Corvane::Bridge::ParseMessageJson;
using Corvane::Bridge::TBridgeOutcome;
using Corvane::Bridge::TBrowserExternalModule;
using nlohmann::json;

TEST(BridgeProtocol, ReplyTextHasOneSpaceAfterEachColonAndComma) {
    EXPECT_EQ(BuildResponse("0b2c", TBridgeOutcome::Result("2021.47")),
              R"({"uuid": "0b2c", "success": true, "result": "2021.47"})");
    EXPECT_EQ(BuildResponse("u", TBridgeOutcome::Result(std::vector<std::string>{"a", "b"})),
              R"({"uuid": "u", "success": true, "result": ["a","b"]})");
    EXPECT_EQ(BuildResponse("u", TBridgeOutcome::Reject("Missing filePath")),
              R"({"uuid": "u", "success": false, "result": "Missing filePath"})");
}

TEST(BridgeProtocol, ResultStringsAreQuotedPerUtf16CodeUnit) {
    const struct {
        json value;
        const char* text;
    } cases[] = {
        {true, "true"},
        {false, "false"},
        {"C:\\a/b \"q\"\n", R"("C:\\a\/b \"q\"\n")"},
        {"\xC3\xA4\xF0\x9F\x98\x80", R"("\u00E4\uD83D\uDE00")"},
        {json::array(), "[]"},
        {json::array({"x/", json::array({true})}), R"(["x\/",[true]])"},
        {json{{"k/", "v"}, {"a", 1}}, R"({"a":1,"k\/":"v"})"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TBridgeOutcome::Result(c.value).ResultJson(), c.text) << c.value.dump();
        EXPECT_EQ(json::parse(c.text), c.value) << c.text;
    }
    EXPECT_EQ(TBridgeOutcome::Reject("a/\xC3\xA4").ResultJson(), R"("a\/\u00E4")");
    EXPECT_EQ(TBridgeOutcome::NoReply().Kind(), TBridgeOutcome::TKind::NoReply);
}

TEST(BridgeProtocol, AnyUuidComesBackAsTheSameStringInValidJson) {
    const std::string uuids[] = {"quote\" and back\\slash", R"(u", "success": false, "uuid": "v)", "\\\"",
                                 std::string("nul\0and\ttab", 11), "\xC3\xA4/"};
    for (const auto& uuid : uuids) {
        const std::string reply = BuildResponse(uuid, TBridgeOutcome::Result(true));
        const json parsed = json::parse(reply, nullptr, false);
        ASSERT_TRUE(parsed.is_object()) << reply;
        EXPECT_EQ(parsed.size(), 3u) << reply;
        EXPECT_EQ(parsed["uuid"], uuid) << reply;
        EXPECT_EQ(parsed["success"], true) << reply;
    }
    // Bytes that are not UTF-8 cannot be carried; the reply stays valid JSON.
    EXPECT_TRUE(json::accept(BuildResponse("\xFF\xFE", TBridgeOutcome::Result(true))));
}

TEST(BridgeProtocol, StringArgumentsByJsonType) {
    const auto data = ParseMessageJson(R"({"s": "text", "empty": "", "i": -42, "big": 18446744073709551615,
        "f": 12.50, "e": 1E3, "t": true, "n": null})");
    const struct {
        const char* key;
        const char* expected;
    } cases[] = {
        {"s", "text"},
        {"empty", ""},
        {"i", "-42"},
        {"big", "18446744073709551615"},
        // A number with a fraction or an exponent reads as the text it was sent as.
        {"f", "12.50"},
        {"e", "1E3"},
        {"t", "true"},
        {"n", "default"},
        {"absent", "default"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TBrowserExternalModule::ReadStringArg(data, c.key, "default"), c.expected) << c.key;
    for (const char* wrong : {R"({"k": {}})", R"({"k": [1]})"})
        EXPECT_THROW(TBrowserExternalModule::ReadStringArg(ParseMessageJson(wrong), "k", ""), std::exception)
            << wrong;
}

TEST(BridgeProtocol, BooleanArguments) {
    const auto data = ParseMessageJson(R"({"t": true, "f": false, "n": null, "s": "true", "one": 1})");
    EXPECT_TRUE(TBrowserExternalModule::ReadBoolArg(data, "t", false));
    EXPECT_FALSE(TBrowserExternalModule::ReadBoolArg(data, "f", true));
    EXPECT_TRUE(TBrowserExternalModule::ReadBoolArg(data, "n", true));
    EXPECT_FALSE(TBrowserExternalModule::ReadBoolArg(data, "absent", false));
    EXPECT_THROW(TBrowserExternalModule::ReadBoolArg(data, "s", false), std::exception);
    EXPECT_THROW(TBrowserExternalModule::ReadBoolArg(data, "one", false), std::exception);
}

TEST(BridgeProtocol, MessagesThatAreNotJsonThrow) {
    for (const char* text : {"", "{", "{\"id\": 1} trailing", "'single'"})
        EXPECT_THROW(ParseMessageJson(text), std::exception) << text;
    EXPECT_EQ(ParseMessageJson(R"({"a": [1.5, {"b": 2e-7}]})")["a"][1]["b"], "2e-7");
}

TEST(BridgeProtocol, NestingIsLimitedWhateverTheBrackets) {
    using Corvane::Bridge::kMaxJsonDepth;
    auto nested = [](std::size_t depth, const std::string& open, const std::string& close) {
        std::string text;
        for (std::size_t i = 0; i < depth; ++i)
            text += open;
        text += "1";
        for (std::size_t i = 0; i < depth; ++i)
            text += close;
        return text;
    };
    EXPECT_NO_THROW(ParseMessageJson(nested(kMaxJsonDepth, "[", "]")));
    EXPECT_NO_THROW(ParseMessageJson(nested(kMaxJsonDepth, "{\"a\":", "}")));
    EXPECT_THROW(ParseMessageJson(nested(kMaxJsonDepth + 1, "[", "]")), Corvane::Bridge::EJsonTooDeep);
    EXPECT_THROW(ParseMessageJson(nested(kMaxJsonDepth + 1, "{\"a\":", "}")), Corvane::Bridge::EJsonTooDeep);
    // Depth counts open brackets only: siblings never add up.
    std::string wide = "[";
    for (std::size_t i = 0; i < 3 * kMaxJsonDepth; ++i)
        wide += i ? ",[]" : "[]";
    EXPECT_EQ(ParseMessageJson(wide + "]").size(), 3 * kMaxJsonDepth);
    // Cut short: an error, but not one of depth.
    try {
        ParseMessageJson(nested(kMaxJsonDepth + 1, "[", "]").substr(0, 50));
        ADD_FAILURE() << "a cut document was accepted";
    } catch (const Corvane::Bridge::EJsonTooDeep&) {
        ADD_FAILURE() << "a cut document was taken for too deep";
    } catch (const std::exception&) {
    }
}

TEST(BridgeProtocol, FunctionTableIdsAreUniqueAndRuntimeOnlyNamesMatchTheirMessages) {
    std::set<int> ids;
    std::set<int> runtimeOnly;
    for (const auto* f = TBrowserExternalModule::Functions(); f->Id != 0; ++f) {
        EXPECT_TRUE(ids.insert(f->Id).second) << f->Id;
        EXPECT_NE(f->Handler, nullptr) << f->Id;
        if (f->RuntimeOnlyName) runtimeOnly.insert(f->Id);
        EXPECT_EQ(TBrowserExternalModule::FindFunction(f->Id), f);
    }
    EXPECT_EQ(runtimeOnly,
              (std::set<int>{11001, 11002, 11003, 12001, 12002, 30004, 50003, 50004, 80001, 80002, 80003}));
    EXPECT_EQ(TBrowserExternalModule::FindFunction(99999), nullptr);
    EXPECT_STREQ(TBrowserExternalModule::FindFunction(30004)->RuntimeOnlyName, "crv.app.extractFile()");
}

TEST(BridgeProtocol, SystemErrorTextLosesTrailingBlanksLineBreaksAndPeriods) {
    Platform::SetLastError(EACCES, "Access is denied. \r\n");
    EXPECT_EQ(Corvane::Bridge::SystemErrorText(EACCES), "Access is denied");
    Platform::SetLastError(ENOENT);
#ifdef _WIN32
    // The system's own wording differs between versions; only its ending must go. (ENOENT and
    // "file not found" are both 2 here.)
    const std::string raw = Platform::SysErrorMessage(ENOENT),
                      text = Corvane::Bridge::SystemErrorText(ENOENT);
    EXPECT_FALSE(text.empty());
    EXPECT_TRUE(raw.starts_with(text)) << raw;
    EXPECT_NE(raw, text) << "the system's text ends with a period or a line break";
    EXPECT_NE(text.back(), '.');
#else
    EXPECT_EQ(Corvane::Bridge::SystemErrorText(ENOENT), "No such file or directory");
#endif
}

TEST(BridgeProtocol, ThePageScriptAndTheFunctionTableNameTheSameIds) {
    // "namespace.function" -> id, read line by line from the script that pages get.
    std::map<std::string, int> scriptIds;
    std::multiset<int> calledIds;
    const std::regex namespaceOpen(R"(^\s*(\w+): \{\s*$)");
    const std::regex namespaceClose(R"(^\s*\},?\s*$)");
    const std::regex function(R"(^\s*(\w+): function\b.*\bcall\((\d+)\s*,)");
    std::istringstream script(Corvane::Browser::BrowserExternalScript());
    std::string line, space;
    std::smatch match;
    while (std::getline(script, line)) {
        if (std::regex_search(line, match, namespaceOpen)) {
            space = match[1].str() + ".";
        } else if (std::regex_search(line, namespaceClose)) {
            space.clear();
        } else if (std::regex_search(line, match, function)) {
            scriptIds[space + match[1].str()] = std::stoi(match[2]);
            calledIds.insert(std::stoi(match[2]));
        }
    }
    std::multiset<int> tableIds;
    for (const auto* f = TBrowserExternalModule::Functions(); f->Id != 0; ++f)
        tableIds.insert(f->Id);
    EXPECT_EQ(calledIds, tableIds);
    EXPECT_EQ(scriptIds.at("hello"), 10001);
    EXPECT_EQ(scriptIds.at("files.fileExists"), 30001);

    // A runtime-only refusal names the script function of its id (30004 names it under app).
    for (const auto* f = TBrowserExternalModule::Functions(); f->Id != 0; ++f) {
        if (!f->RuntimeOnlyName) continue;
        std::string name = f->RuntimeOnlyName;
        name = name.substr(4, name.size() - 6); // "crv.x.y()" -> "x.y"
        if (f->Id == 30004) name.replace(0, 3, "files");
        const auto found = scriptIds.find(name);
        ASSERT_NE(found, scriptIds.end()) << f->RuntimeOnlyName;
        EXPECT_EQ(found->second, f->Id) << f->RuntimeOnlyName;
    }
}
