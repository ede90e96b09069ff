// Text at the COM edge: UTF-16 strings in, strings handed out for the caller to free, JSON quoting.
#pragma once

#include <string>
#include <string_view>

#include "abi/CaseMap.h"
#include "abi/WebView2.h"

namespace CrvWebView {

using namespace WebView2;

// A null pointer gives an empty string.
std::string ToUtf8(LPCWSTR text);
std::u16string ToUtf16(std::string_view text);

// Hands a copy of the text to the caller, who frees it with CoTaskMemFree.
HRESULT OutString(std::string_view text, LPWSTR* out);

// The text as a JSON string literal, quotes included.
std::string JsonQuote(std::string_view text);

// When json is exactly one JSON string (blanks around it allowed), its text in UTF-8.
bool DecodeJsonString(std::string_view json, std::string& out);

using Corvane::Abi::StartsWithNoCase;

} // namespace CrvWebView
