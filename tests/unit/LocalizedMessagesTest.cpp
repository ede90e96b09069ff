// The start-up messages: the tables, the choice of language from the locale, and the index check.
#include "runtime/LocalizedMessages.h"

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "abi/Utf.h"

using namespace Corvane::Runtime;

namespace {

TEST(LocalizedMessagesTest, TablesAreCompleteAndCarryTheirCodes) {
    EXPECT_STREQ(DefaultMessages[0], "en");
    const char* const codes[] = {"es", "it", "de", "fr", "zh"};
    for (size_t t = 0; t < TranslatedMessages.size(); ++t)
        EXPECT_STREQ(TranslatedMessages[t][0], codes[t]);

    std::vector<const TMessageTable*> all = {&DefaultMessages};
    for (const TMessageTable& table : TranslatedMessages)
        all.push_back(&table);
    for (const TMessageTable* table : all) {
        ASSERT_EQ(table->size(), 10u);
        for (const char* text : *table) {
            ASSERT_NE(text, nullptr);
            EXPECT_GT(std::string(text).size(), 1u);
            EXPECT_TRUE(Corvane::Abi::IsValidUtf8(text)) << text;
        }
    }
}

TEST(LocalizedMessagesTest, ExactTexts) {
    // Byte for byte, so an editor that changes the encoding or a blank shows up here.
    EXPECT_EQ(
        GetLocalizedMessageFor("zh", 6),
        "\xE8\xBF\x90\xE8\xA1\x8C\xE6\xAD\xA4\xE5\xBA\x94\xE7\x94\xA8\xE7\xA8\x8B\xE5\xBA\x8F\xE9\x9C\x80"
        "\xE8\xA6\x81Microsoft WebView2\xE8\xBF\x90\xE8\xA1\x8C\xE6\x97\xB6\xE3\x80\x82 \xE8\xAF\xA5\xE5"
        "\xBA\x94\xE7\x94\xA8\xE7\xA8\x8B\xE5\xBA\x8F\xE6\x97\xA0\xE6\xB3\x95\xE7\xBB\xA7\xE7\xBB\xAD\xEF"
        "\xBC\x8C\xE5\xB0\x86\xE7\xAB\x8B\xE5\x8D\xB3\xE5\x85\xB3\xE9\x97\xAD\xE3\x80\x82");
    EXPECT_EQ(
        GetLocalizedMessageFor("zh", 7),
        "\xE8\xBF\x90\xE8\xA1\x8C\xE6\xAD\xA4\xE5\xBA\x94\xE7\x94\xA8\xE7\xA8\x8B\xE5\xBA\x8F\xE9\x9C\x80"
        "\xE8\xA6\x81Microsoft WebView2\xE8\xBF\x90\xE8\xA1\x8C\xE6\x97\xB6\xE3\x80\x82 \xE6\x82\xA8\xE8"
        "\xA6\x81\xE7\xAB\x8B\xE5\x8D\xB3\xE5\xAE\x89\xE8\xA3\x85\xE5\x90\x97\xEF\xBC\x9F");
    EXPECT_EQ(GetLocalizedMessageFor("zh", 1), "\xE9\x94\x99\xE8\xAF\xAF");
    EXPECT_EQ(GetLocalizedMessageFor("de", 2), "Best\xC3\xA4tigen");
    EXPECT_EQ(GetLocalizedMessageFor("es", 7),
              "El Microsoft WebView2 runtime es necesario para esta aplicaci\xC3\xB3n. "
              "\xC2\xBFQuiere instalarlo ahora?");
    EXPECT_EQ(GetLocalizedMessageFor("it", 5), "Questa non \xC3\xA8 un'applicazione Windows valida.");
    EXPECT_EQ(GetLocalizedMessageFor("fr", 7), "Le runtime Microsoft WebView2 est requis pour ex\xC3\xA9"
                                               "cuter cette "
                                               "application. Voulez-vous l'installer maintenant?");
    EXPECT_EQ(GetLocalizedMessageFor("en", 9),
              "You cancel the installation of Microsoft WebView2 runtime, This "
              "application cannot continue and will be closed now.");
}

TEST(LocalizedMessagesTest, CodeMustMatchExactly) {
    EXPECT_EQ(GetLocalizedMessageFor("DE", 3), "Accept");
    EXPECT_EQ(GetLocalizedMessageFor("deu", 3), "Accept");
    EXPECT_EQ(GetLocalizedMessageFor("", 3), "Accept");
    EXPECT_EQ(GetLocalizedMessageFor("en", 0), "en");
}

TEST(LocalizedMessagesTest, IndexOutOfRangeThrows) {
    for (const int index : {10, 11, -1}) {
        try {
            GetLocalizedMessageFor("de", index);
            ADD_FAILURE() << "no error for " << index;
        } catch (const std::out_of_range& e) {
            EXPECT_STREQ(e.what(), "MessageIndex is out of range!");
        }
    }
    EXPECT_THROW(GetLocalizedMessage(10), std::out_of_range);
    EXPECT_NO_THROW(GetLocalizedMessage(9));
}

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironmentTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            FSaved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    void TearDown() override {
        for (size_t i = 0; i < std::size(kNames); ++i) {
            if (FSaved[i])
                setenv(kNames[i], FSaved[i]->c_str(), 1);
            else
                unsetenv(kNames[i]);
        }
    }

    static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::optional<std::string>> FSaved;
};

TEST_F(LocaleEnvironmentTest, LanguageFollowsTheLocale) {
    struct TCase {
        const char* Variable;
        const char* Locale;
        const char* Code;
    };
    const TCase cases[] = {
        {"LANG", "de_CH.UTF-8", "de"},  {"LANG", "es_ES@euro", "es"},
        {"LANG", "it_IT", "it"},        {"LANG", "fr_FR.UTF-8", "fr"},
        {"LANG", "zh_CN.UTF-8", "zh"},  {"LANG", "pt_BR.UTF-8", "en"},
        {"LANG", "ja_JP.UTF-8", "en"},  {"LANG", "C", "en"},
        {"LANG", "C.UTF-8", "en"},      {"LC_ALL", "de_DE", "de"},
        {"LC_MESSAGES", "fr_CA", "fr"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Variable) + "=" + c.Locale);
        setenv(c.Variable, c.Locale, 1);
        EXPECT_EQ(GetLocalizedMessage(0), c.Code);
        unsetenv(c.Variable);
    }
    EXPECT_EQ(GetLocalizedMessage(0), "en"); // no locale at all
}

TEST_F(LocaleEnvironmentTest, SwissGermanGetsGermanWithTheTitleError) {
    setenv("LANG", "de_CH.UTF-8", 1);
    EXPECT_EQ(GetUserLanguageCode(), "de");
    EXPECT_EQ(GetLocalizedMessage(1), "Error");
    EXPECT_EQ(GetLocalizedMessage(3), "Akzeptieren");
    EXPECT_EQ(GetLocalizedMessage(5), "Dies ist keine g\xC3\xBCltige Windows-Anwendung.");
}

TEST_F(LocaleEnvironmentTest, FrenchCaptionsAndNoCaching) {
    setenv("LANG", "fr_FR.UTF-8", 1);
    EXPECT_EQ(GetLocalizedMessage(3), "J'accepte");
    EXPECT_EQ(GetLocalizedMessage(4), "Annuler");
    setenv("LC_ALL", "it_IT.UTF-8", 1); // takes precedence, and is seen on the next call
    EXPECT_EQ(GetLocalizedMessage(4), "Annulla");
    setenv("LC_ALL", "pt_PT.UTF-8", 1);
    EXPECT_EQ(GetLocalizedMessage(4), "Cancel");
}

} // namespace
