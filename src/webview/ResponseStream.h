// A response's content as a stream for the browser: bytes of our memory streams are served where they
// lie, other streams are read out once.
#pragma once

#include <gio/gio.h>

#include "abi/WebView2.h"

namespace CrvWebView {

// A new stream (never null) and its length in *length. A null content is an empty body.
GInputStream* InputStreamFor(WebView2::IStream* content, gint64* length);

} // namespace CrvWebView
