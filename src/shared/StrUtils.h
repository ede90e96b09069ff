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
    // The content type for the extension of fileName ("application/octet-stream" when unknown).
    static std::string GetFileMIMEType(const std::string& fileName);
    // The pieces of value between occurrences of separator; always one more than separators found.
    static TArrayStrings ExplodeStrings(const std::string& separator, const std::string& value);

    static std::string ImplodeStrings(const std::string& separator, const TArrayStrings& arrayString);
    static std::string GetJavascriptArrayFromMultilineString(const std::string& value);
    static std::string GetRandomString(int length, const std::string& charSequence);
    static std::string GetControlRandomSuffix(const std::string& name);
    // Query parameters of url as "name=value" lines, '+' as blank, percent-decoded as UTF-8.
    static std::vector<std::string> GetUrlArguments(const std::string& url);
    static bool SubStringExists(const std::string& source, const std::string& subString,
                                const TSearchOptions& searchOptions);
    static std::string AddLeadingZeroes(std::int64_t number, int length);
    static void StrToResolution(const std::string& value, int& width, int& height);
    static std::string QuoteJavascript(const std::string& value);
    static std::string UnquoteJavascript(const std::string& value);
    static std::string QuoteArguments(const std::string& value);
    static std::string UnquoteArguments(const std::string& value);
    static std::string RepeatString(const std::string& value, int count);
    static std::string Capitalize(const std::string& value);
    static bool FilePathIsHttpUrl(const std::string& path);
    static bool FilePathIsAppRelative(const std::string& path);
    static bool FilePathIsPluginRelative(const std::string& path);
};

} // namespace Corvane::Shared
