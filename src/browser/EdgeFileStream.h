// Streams for captured page images: a file opened for writing, and rewinding a caller's stream.
#pragma once

#include <string>

#include "browser/ComPtr.h"
#include "browser/WebView2.h"

namespace Corvane::Shared {

// Opens the file for reading and writing, created or truncated; null when that fails.
WebView2::ComPtr<WebView2::IStream> CreateFileStream(const std::string& path);
// Moves the stream's position to its start.
void SeekToStart(WebView2::IStream* stream);

} // namespace Corvane::Shared
