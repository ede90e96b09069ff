// file: URLs and the private scheme that stands for them inside the browser, which refuses handlers
// for file itself; and the URI patterns of resource filters.
#pragma once

#include <string>
#include <string_view>

namespace CrvWebView {

// The scheme the browser sees in place of file.
inline constexpr std::string_view kPrivateScheme = "crvfile";

// file:X becomes crvfile:X (the scheme matched without case); other URIs stay as they are.
std::string ToBrowserUri(std::string_view uri);
// crvfile:X becomes file:X; other URIs stay as they are.
std::string ToHostUri(std::string_view uri);
bool IsPrivateUri(std::string_view uri);
bool IsFileUri(std::string_view uri);

// Whether uri matches a filter pattern in which '*' stands for any run of characters.
bool MatchesUriPattern(std::string_view pattern, std::string_view uri);

} // namespace CrvWebView
