// Requests of the private scheme: offered to the host through WebResourceRequested, else answered from
// the file the file: URL names, as the browser would have done.
#pragma once

#include <webkit2/webkit2.h>

namespace CrvWebView {

// The web context's handler of the private scheme.
void HandleSchemeRequest(WebKitURISchemeRequest* request, gpointer);

} // namespace CrvWebView
