// Synthetic key presses on Windows, through the system's input queue.
#include "platform/Keyboard.h"

#include <windows.h>

namespace Platform {

bool PressVirtualKey(std::uint16_t virtualKey) {
    if (virtualKey == 0 || virtualKey > 0xFE) return false;
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
        // Both marked extended, so that the arrow and editing keys are not read as the keypad's.
        input.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    }
    inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

} // namespace Platform
