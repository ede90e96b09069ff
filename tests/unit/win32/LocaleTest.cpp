// Tests of the user's language and of text in the ANSI code page, whole and in pieces.
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// A text in the ANSI code page, and the same text in UTF-8.
struct TSample {
    std::string Ansi, Utf8;
};

TSample SampleForCodePage() {
    switch (GetACP()) {
    case 932: // Shift JIS: hiragana a, katakana a, a half-width katakana of one byte
        return {"a\x82\xA0-\x83\x41\xB1z", "a\xE3\x81\x82-\xE3\x82\xA2\xEF\xBD\xB1z"};
    case 1252:
        return {"caf\xE9 \x80 5", "caf\xC3\xA9 \xE2\x82\xAC 5"};
    default:
        return {"plain", "plain"};
    }
}

TEST(Locale, LanguageIsTheLocalesIsoName) {
    const std::string language = Platform::UserLanguageName();
    ASSERT_GE(language.size(), 2u);
    for (const char c : language)
        EXPECT_TRUE(c >= 'a' && c <= 'z') << language;
}

TEST(Locale, AnsiTextBecomesUtf8) {
    const TSample sample = SampleForCodePage();
    EXPECT_EQ(Platform::AnsiToUtf8(sample.Ansi), sample.Utf8) << "code page " << GetACP();
    EXPECT_EQ(Platform::AnsiToUtf8(""), "");
}

TEST(Locale, DecoderFinishesCharactersThatPiecesCutInTwo) {
    const TSample sample = SampleForCodePage();
    for (size_t cut = 0; cut <= sample.Ansi.size(); ++cut) {
        Platform::TLocaleTextDecoder decoder;
        std::string text = decoder.Decode(sample.Ansi.substr(0, cut));
        text += decoder.Decode(sample.Ansi.substr(cut));
        text += decoder.Finish();
        EXPECT_EQ(text, sample.Utf8) << "cut at " << cut;
    }
    // One byte at a time.
    Platform::TLocaleTextDecoder decoder;
    std::string text;
    for (const char c : sample.Ansi)
        text += decoder.Decode(std::string(1, c));
    EXPECT_EQ(text + decoder.Finish(), sample.Utf8);
}

TEST(Locale, DecoderEndsAnUnfinishedCharacterWithReplacement) {
    if (GetACP() != 932) GTEST_SKIP() << "needs a code page of two-byte characters";
    Platform::TLocaleTextDecoder decoder;
    EXPECT_EQ(decoder.Decode("ab\x82"), "ab");
    EXPECT_EQ(decoder.Finish(), "\xEF\xBF\xBD");
}

} // namespace
