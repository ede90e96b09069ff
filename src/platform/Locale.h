// The user's locale: language and 8-bit character set.
#pragma once

#include <string>
#include <string_view>

namespace Platform {

// The lower-case ISO 639 language name of the user's locale, empty when none can be read.
std::string UserLanguageName();
// Text in the system's 8-bit code page converted to UTF-8; bytes that do not convert become U+FFFD.
std::string AnsiToUtf8(std::string_view bytes);

} // namespace Platform
