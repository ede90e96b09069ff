// Text in a Windows code page converted to UTF-8, whole or in pieces.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace Platform::Win32 {

// Each byte that starts no character of the code page becomes U+FFFD, as the system converts it.
std::string CodePageToUtf8(UINT codePage, std::string_view bytes);
// How many bytes at the end of bytes begin a character of the code page that is not complete yet.
size_t UnfinishedTail(UINT codePage, std::string_view bytes);

} // namespace Platform::Win32
