// file: URLs, the private scheme, and URI patterns.
#include "webview/FileUris.h"

#include "webview/Text.h"

namespace CrvWebView {

namespace {

bool HasScheme(std::string_view uri, std::string_view scheme) {
    return uri.size() > scheme.size() && uri[scheme.size()] == ':' &&
           Corvane::Abi::StartsWithNoCase(uri, scheme);
}

} // namespace

bool IsPrivateUri(std::string_view uri) {
    return HasScheme(uri, kPrivateScheme);
}

bool IsFileUri(std::string_view uri) {
    return HasScheme(uri, "file");
}

std::string ToBrowserUri(std::string_view uri) {
    if (!IsFileUri(uri)) return std::string(uri);
    return std::string(kPrivateScheme) + std::string(uri.substr(4));
}

std::string ToHostUri(std::string_view uri) {
    if (!IsPrivateUri(uri)) return std::string(uri);
    return "file" + std::string(uri.substr(kPrivateScheme.size()));
}

bool MatchesUriPattern(std::string_view pattern, std::string_view uri) {
    // Greedy match with backtracking to the last '*': linear for the patterns filters use.
    size_t p = 0, u = 0, star = std::string_view::npos, mark = 0;
    while (u < uri.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = u;
        } else if (p < pattern.size() && pattern[p] == uri[u]) {
            ++p;
            ++u;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            u = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace CrvWebView
