// Tests of base64 decoding: the standard alphabet, the tolerated forms and the refused ones.
#include "shared/Base64.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using Corvane::Shared::Base64Decode;

TEST(Base64Test, DecodesStandardAndToleratedForms) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"YWJj", "abc"},
        {"YQ==", "a"},
        {"YWI=", "ab"},
        {"YQ", "a"},              // padding left out
        {"YWI", "ab"},            // either length of the last group
        {"YWJjZA", "abcd"},       // after full groups
        {" YW\r\nJj\t", "abc"},   // white space and line breaks anywhere
        {"YQ= =\n", "a"},         // even inside the padding
        {"+/+/", "\xFB\xFF\xBF"}, // the last two letters of the alphabet
        {"AAEC", std::string("\x00\x01\x02", 3)},
        {"//79", "\xFF\xFE\xFD"},
        {"SGVsbG8sIFdvcmxkIQ==", "Hello, World!"},
    };
    for (const auto& [text, bytes] : cases) {
        std::string out = "old";
        EXPECT_TRUE(Base64Decode(text, out)) << text;
        EXPECT_EQ(out, bytes) << text;
    }
}

TEST(Base64Test, RefusesTextOutsideTheRules) {
    const std::vector<std::string> cases = {
        "Y",                     // a lone character cannot make a byte
        "YWJjZ",                 // nor at the end of a longer text
        "YW=Jj",                 // '=' inside the text
        "YQ==YQ==",              // data after the padding
        "YQ=",                   // padding that does not complete the group
        "YWJj=",                 // or follows a complete one
        "====",                  // padding alone
        "YQ===",                 // too much padding
        "YW-j",                  // the URL alphabet is not the standard one
        "YW_j",                  // either letter of it
        "YWJj!",                 // punctuation
        "YWJ\xC3\xA9",           // a letter outside ASCII
        std::string("YW\0j", 4), // a zero byte
    };
    for (const auto& text : cases) {
        std::string out = "old";
        EXPECT_FALSE(Base64Decode(text, out)) << text;
        EXPECT_TRUE(out.empty()) << text;
    }
}
