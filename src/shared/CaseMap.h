// Simple case mapping of single code points for the Latin, Greek and Cyrillic letters, the same on
// every system and in every locale.
#pragma once

namespace Corvane::Shared {

char32_t LowerCodePoint(char32_t c);
char32_t UpperCodePoint(char32_t c);

} // namespace Corvane::Shared
