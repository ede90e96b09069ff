// Tests of the registry's content types: the per-extension value, then the MIME database, whose
// entries come later so that they win.
#include "platform/SystemMimeTypes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <vector>

namespace {

using TPairs = std::vector<std::pair<std::string, std::string>>;

TPairs Registered() {
    TPairs pairs;
    Platform::ForEachSystemMimeType(
        [&](const std::string& ext, const std::string& type) { pairs.emplace_back(ext, type); });
    return pairs;
}

// Keys under the classes that HKEY_CLASSES_ROOT shows, removed again at the end: the machine's where
// the test may write them (Wine shows only those), else the user's.
class TClasses {
public:
    void Set(const std::wstring& key, const wchar_t* name, const wchar_t* value) {
        const std::wstring path = L"Software\\Classes\\" + key;
        const auto size = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            if (RegSetKeyValueW(root, path.c_str(), name, REG_SZ, value, size) == ERROR_SUCCESS) {
                FKeys.emplace_back(root, path);
                return;
            }
        }
    }
    ~TClasses() {
        for (const auto& [root, key] : FKeys)
            RegDeleteTreeW(root, key.c_str());
    }

private:
    std::vector<std::pair<HKEY, std::wstring>> FKeys;
};

size_t IndexOf(const TPairs& pairs, const std::string& ext, const std::string& type) {
    for (size_t i = 0; i < pairs.size(); ++i)
        if (pairs[i].first == ext && pairs[i].second == type) return i;
    return std::string::npos;
}

TEST(SystemMimeTypes, SystemRegistrations) {
    const TPairs pairs = Registered();
    // The tests' Wine prefix leaves out the HTML engine, and with it every content type; a system
    // that has them always names .html.
    if (pairs.empty()) GTEST_SKIP() << "the system registers no content types";
    EXPECT_NE(IndexOf(pairs, ".html", "text/html"), std::string::npos);
    for (const auto& [ext, type] : pairs) {
        EXPECT_EQ(ext[0], '.') << ext;
        EXPECT_FALSE(type.empty()) << ext;
    }
}

TEST(SystemMimeTypes, BothLayersInOrder) {
    TClasses classes;
    classes.Set(L".crvTest", L"Content Type", L"application/x-crv-first");
    classes.Set(L".crvempty", L"Content Type", L"");
    classes.Set(L"MIME\\Database\\Content Type\\application/x-crv-second", L"Extension", L".crvTest");
    classes.Set(L"MIME\\Database\\Content Type\\application/x-crv-nodot", L"Extension", L"crvnodot");
    const TPairs pairs = Registered();
    const size_t first = IndexOf(pairs, ".crvTest", "application/x-crv-first");
    const size_t second = IndexOf(pairs, ".crvTest", "application/x-crv-second");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_NE(IndexOf(pairs, ".crvnodot", "application/x-crv-nodot"), std::string::npos);
    for (const auto& pair : pairs)
        EXPECT_NE(pair.first, ".crvempty");
}

} // namespace
