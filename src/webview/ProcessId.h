// The process that renders the pages, for hosts that wait for it or end it.
#pragma once

#include <cstdint>

namespace CrvWebView {

// The one web content process below this process; 0 when there is none or several, since the browser
// does not say which of several serves which view. Never this process's own id.
std::uint32_t FindWebProcessId();

} // namespace CrvWebView
