// Streams in the browser's stream interface, over bytes in memory and over files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "abi/ComPtr.h"
#include "abi/WebView2.h"

namespace Platform {

// A read-only stream over bytes, positioned at their start. On Linux the browser stand-in serves the
// bytes from it without a copy.
WebView2::ComPtr<WebView2::IStream> CreateMemoryStream(std::vector<std::uint8_t>&& bytes);
// Opens the file for reading and writing, created or truncated; null when that fails.
WebView2::ComPtr<WebView2::IStream> CreateFileStream(const std::string& path);
// Moves the stream's position to its start.
void SeekToStart(WebView2::IStream* stream);

} // namespace Platform
