// Load failures in the terms hosts expect: the web error status of a failed navigation.
#pragma once

#include <gio/gio.h>
#include <glib.h>

#include "abi/WebView2.h"

namespace CrvWebView {

using namespace WebView2;

COREWEBVIEW2_WEB_ERROR_STATUS WebErrorStatusFromError(const GError* error);
COREWEBVIEW2_WEB_ERROR_STATUS WebErrorStatusFromTlsErrors(GTlsCertificateFlags errors);

} // namespace CrvWebView
