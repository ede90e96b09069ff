// String helpers shared by the runtime and the packager: JSON quoting, list splitting, MIME types.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Corvane::Shared {

using TArrayStrings = std::vector<std::string>;

// text with every occurrence of from (case-sensitive) replaced by to.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Options of SubStringExists.
struct TSearchOptions {
    bool Down = true;       // search direction: from the start (true) or from the end
    bool MatchCase = false; // case-sensitive
    bool WholeWord = false; // the match must not touch letters, digits or '_' on either side
};

class TStrUtils {
public:
    TStrUtils() = delete;

    // The JSON string literal of value, quotes included. Output is pure ASCII: every code unit
    // outside U+0020..U+007E is escaped per UTF-16 code unit, and '/' is written as "\/".
    static std::string StringToJsonString(const std::string& value);
    // The content type for the extension of FileName ("application/octet-stream" when unknown).
    static std::string GetFileMIMEType(const std::string& FileName);
    // The pieces of Value between occurrences of Separator; always one more than separators found.
    static TArrayStrings ExplodeStrings(const std::string& Separator, const std::string& Value);

    static std::string ImplodeStrings(const std::string& Separator, const TArrayStrings& ArrayString);
    static std::string GetJavascriptArrayFromMultilineString(const std::string& Value);
    static std::string GetRandomString(int ALength, const std::string& ACharSequence);
    static std::string GetControlRandomSuffix(const std::string& Name);
    // Query parameters of URL as "name=value" lines, '+' as blank, percent-decoded as UTF-8.
    static std::vector<std::string> GetUrlArguments(const std::string& URL);
    static bool SubStringExists(const std::string& AString, const std::string& ASubString,
                                const TSearchOptions& ASearchOptions);
    static std::string AddLeadingZeroes(std::int64_t Number, int Length);
    static void StrToResolution(const std::string& Value, int& Width, int& Height);
    static std::string QuoteJavascript(const std::string& Value);
    static std::string UnquoteJavascript(const std::string& Value);
    static std::string QuoteArguments(const std::string& Value);
    static std::string UnquoteArguments(const std::string& Value);
    static std::string RepeatString(const std::string& Value, int Count);
    static std::string Capitalize(const std::string& Value);
    static bool FilePathIsHttpUrl(const std::string& Path);
    static bool FilePathIsAppRelative(const std::string& Path);
    static bool FilePathIsPluginRelative(const std::string& Path);
};

} // namespace Corvane::Shared
