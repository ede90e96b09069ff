// Base64 decoding with the standard alphabet ("+" and "/", "=" padding).
#pragma once

#include <string>
#include <string_view>

namespace Corvane::Shared {

// The message of a text that Base64Decode refuses.
inline constexpr const char* kInvalidBase64Text = "Invalid base64 text";

// Decodes text into bytes. White space and line breaks are ignored anywhere, and the "=" padding
// may be left out. Refused (false, bytes empty): any other character outside the alphabet, "=" that
// is not at the very end or does not complete a group of four, and a final group of one character.
bool Base64Decode(std::string_view text, std::string& bytes);

} // namespace Corvane::Shared
