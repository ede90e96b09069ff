// Runs the message loop of the test until a condition holds or time runs out.
#pragma once

#include <windows.h>

#include <functional>
#include <map>

#include "platform/Application.h"

inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 3000) {
    const ULONGLONG until = GetTickCount64() + milliseconds;
    while (!done()) {
        if (GetTickCount64() > until) return false;
        Platform::ProcessMessages();
        Sleep(5);
    }
    return true;
}

// Runs fn from the message loop after a delay, whichever modal loop is running then.
inline void AfterDelay(UINT milliseconds, std::function<void()> fn) {
    static std::map<UINT_PTR, std::function<void()>> pending;
    const UINT_PTR id = SetTimer(nullptr, 0, milliseconds, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        auto run = std::move(pending[timer]);
        pending.erase(timer);
        if (run) run();
    });
    pending[id] = std::move(fn);
}
