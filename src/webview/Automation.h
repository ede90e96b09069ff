// Automation by a WebDriver service: allowed only in a process the driver started, which then hands
// the driver the host's first view.
#pragma once

#include <webkit2/webkit2.h>

namespace CrvWebView {

// Lets a driver's session into context when the driver started the process (its parent, with the
// address of the inspector server it connects to in the environment). Only the first context made
// qualifies: the browser allows automation in one context per process.
void AllowAutomationIfDriven(WebKitWebContext* context);

// Whether a host view made now in context is to be controlled by the driver (set at construction).
bool ControlledByAutomation(WebKitWebContext* context);

// A host view made with ControlledByAutomation: the first one is the driver's browsing context.
void OfferToAutomation(WebKitWebView* view);

} // namespace CrvWebView
