// Toolkit key events in the terms of Windows key messages: virtual-key codes, the message kind and
// the lParam bits, as hosts written for Windows read them.
#pragma once

#include <cstdint>

#include "abi/WebView2.h"

namespace CrvWebView {

using namespace WebView2;

struct TKeyInput {
    unsigned Keyval = 0;          // the toolkit's key symbol
    unsigned HardwareKeycode = 0; // X keycode: the scan code plus 8
    bool Release = false;
    bool AltHeld = false; // Alt is down, or this is Alt itself
    bool CtrlHeld = false;
    bool WasDown = false; // the key was already down: an auto-repeat
};

struct TKeyMessage {
    COREWEBVIEW2_KEY_EVENT_KIND Kind = COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN;
    UINT VirtualKey = 0;
    INT LParam = 0;
    COREWEBVIEW2_PHYSICAL_KEY_STATUS Status{};
};

// The virtual-key code for a key symbol, with punctuation placed as on a US layout; 0 when none.
UINT VirtualKeyFromKeyval(unsigned keyval);
// Keys that Windows marks as extended (bit 24 of lParam): the navigation block, right-hand modifiers...
bool IsExtendedKeyval(unsigned keyval);
TKeyMessage MapKeyEvent(const TKeyInput& input);

} // namespace CrvWebView
