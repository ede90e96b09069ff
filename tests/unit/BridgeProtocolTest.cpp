// The bridge's message and reply formats, argument reading and function table.
#include <set>
#include <stdexcept>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "bridge/BrowserExternalModule.h"
#include "platform/Process.h"

using Corvane::Shared::BuildResponse;
using Corvane::Shared::ParseMessageJson;
using Corvane::Shared::TBrowserExternalModule;

TEST(BridgeProtocol, ReplyTextHasOneSpaceAfterEachColonAndComma) {
    EXPECT_EQ(BuildResponse("0b2c", "\"2021.47\"", true),
              "{\"uuid\": \"0b2c\", \"success\": true, \"result\": \"2021.47\"}");
    EXPECT_EQ(BuildResponse("u", "[\"a\", \"b\"]", false),
              "{\"uuid\": \"u\", \"success\": false, \"result\": [\"a\", \"b\"]}");
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
    EXPECT_EQ(Corvane::Shared::SystemErrorText(EACCES), "Access is denied");
    Platform::SetLastError(ENOENT);
    EXPECT_EQ(Corvane::Shared::SystemErrorText(ENOENT), "No such file or directory");
}
