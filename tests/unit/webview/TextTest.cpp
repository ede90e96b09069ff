// Tests of JSON string quoting and decoding, header text and handler lists.
#include <gtest/gtest.h>

#include "abi/ComObject.h"
#include "webview/EventList.h"
#include "webview/HttpHeaders.h"
#include "webview/Text.h"

using namespace CrvWebView;

namespace {

TEST(Json, QuotedStringsDecodeBackToTheText) {
    const char* texts[] = {"",
                           "plain",
                           "quote \" and \\ slash",
                           "line\nbreak\ttab\r",
                           "control \x01\x1f",
                           "h\xc3\xa9llo \xe4\xb8\x96 \xf0\x9f\x98\x80"};
    for (const char* text : texts) {
        std::string decoded;
        ASSERT_TRUE(DecodeJsonString(JsonQuote(text), decoded)) << JsonQuote(text);
        EXPECT_EQ(decoded, text);
    }
    EXPECT_EQ(JsonQuote("a\x01"), "\"a\\u0001\"");
}

TEST(Json, OnlyASingleStringDecodes) {
    struct TCase {
        const char* Json;
        bool Ok;
        const char* Text;
    };
    const TCase cases[] = {
        {"  \"x\" \n", true, "x"},
        {"\"\\u00e9\\/\"", true, "\xc3\xa9/"},
        {"\"\\ud83d\\ude00\"", true, "\xf0\x9f\x98\x80"}, // a surrogate pair
        {"\"\\ud83d\"", true, "\xef\xbf\xbd"},            // a lone surrogate
        {"42", false, ""},
        {"{\"a\":1}", false, ""},
        {"null", false, ""},
        {"\"a\" \"b\"", false, ""},
        {"\"unterminated", false, ""},
        {"\"bad \\x escape\"", false, ""},
        {"\"raw \n break\"", false, ""},
    };
    for (const auto& c : cases) {
        std::string out = "untouched";
        EXPECT_EQ(DecodeJsonString(c.Json, out), c.Ok) << c.Json;
        if (c.Ok) {
            EXPECT_EQ(out, c.Text) << c.Json;
        }
    }
}

TEST(HeaderText, LinesOfNamesAndValues) {
    const THeaderList headers = ParseHeaderText("Content-Type: text/html; charset=utf-8\r\nX-A:1\r\n\r\nno "
                                                "colon line\n  X-B :  two words \n: v\nX-C:");
    const THeaderList expected = {
        {"Content-Type", "text/html; charset=utf-8"}, {"X-A", "1"}, {"X-B", "two words"}, {"X-C", ""}};
    EXPECT_EQ(headers, expected);
    EXPECT_TRUE(ParseHeaderText("").empty());
}

TEST(HeaderText, CollectionsFindNamesWithoutCase) {
    auto headers = WebView2::ComPtr<THttpHeaders>::Attach(
        new THttpHeaders(ParseHeaderText("Set: a\r\nset: b\r\nOther: c")));
    LPWSTR value = nullptr;
    ASSERT_EQ(headers->GetHeader(u"SET", &value), S_OK);
    EXPECT_EQ(ToUtf8(value), "a, b");
    CoTaskMemFree(value);
    EXPECT_EQ(headers->GetHeader(u"missing", &value), E_INVALIDARG);

    ICoreWebView2HttpHeadersCollectionIterator* iterator = nullptr;
    ASSERT_EQ(headers->GetHeaders(u"set", &iterator), S_OK);
    int count = 0;
    BOOL has = FALSE;
    while (iterator->get_HasCurrentHeader(&has) == S_OK && has) {
        ++count;
        iterator->MoveNext(&has);
    }
    iterator->Release();
    EXPECT_EQ(count, 2);

    headers->SetHeader(u"SET", u"z");
    headers->RemoveHeader(u"other");
    EXPECT_EQ(headers->List(), (THeaderList{{"SET", "z"}}));
}

struct TCounter final : WebView2::TComObject<ICoreWebView2HistoryChangedEventHandler> {
    std::function<void()> OnInvoke;
    HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2*, IUnknown*) override {
        OnInvoke();
        return S_OK;
    }
};

TEST(EventList, OrderTokensAndRemovalDuringADelivery) {
    TEventList<ICoreWebView2HistoryChangedEventHandler> list;
    std::string calls;
    EventRegistrationToken first{}, second{}, third{};
    auto* a = new TCounter;
    auto* b = new TCounter;
    auto* c = new TCounter;
    a->OnInvoke = [&] {
        calls += 'a';
        list.Remove(second); // b must not run any more
    };
    b->OnInvoke = [&] { calls += 'b'; };
    c->OnInvoke = [&] { calls += 'c'; };
    ASSERT_EQ(list.Add(a, &first), S_OK);
    ASSERT_EQ(list.Add(b, &second), S_OK);
    ASSERT_EQ(list.Add(c, &third), S_OK);
    for (auto* h : {a, b, c})
        h->Release();
    EXPECT_NE(first.value, second.value);
    list.Raise(static_cast<ICoreWebView2*>(nullptr), static_cast<IUnknown*>(nullptr));
    EXPECT_EQ(calls, "ac");
    list.Remove(first);
    list.Remove(EventRegistrationToken{12345}); // unknown tokens are ignored
    list.Raise(static_cast<ICoreWebView2*>(nullptr), static_cast<IUnknown*>(nullptr));
    EXPECT_EQ(calls, "acc");
    EXPECT_EQ(list.Add(nullptr, &first), E_INVALIDARG);
}

} // namespace
