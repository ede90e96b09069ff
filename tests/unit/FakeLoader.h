// The fake browser loader library as the unit tests reach it: its state, through a handle of our
// own on the library the browser control loads, and a pump of the work it and the UI queue defer.
#pragma once

#include <dlfcn.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "../fixtures/fakes/FakeBrowser.h"
#include "platform/Application.h"

namespace FakeLoader {

inline const std::string kPath = std::string(CRV_TEST_FIXTURE_DIR) + "/loaders/fake_browser.so";

// Null when the library cannot be loaded.
inline FakeBrowser::TState* FakeState() {
    static FakeBrowser::TState* state = [] {
        void* library = dlopen(kPath.c_str(), RTLD_NOW | RTLD_LOCAL);
        void* symbol = library ? dlsym(library, "FakeBrowserState") : nullptr;
        return symbol ? reinterpret_cast<FakeBrowser::FakeBrowserStateFn>(symbol)() : nullptr;
    }();
    return state;
}

inline FakeBrowser::TState& Fake() {
    return *FakeState();
}

// Runs queued UI work and the runtime's deferred completions until done() holds; false after timeout.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        Platform::ProcessMessages();
        Fake().RunPending();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Gives late work the chance to show.
inline void Settle() {
    PumpUntil([] { return false; }, std::chrono::milliseconds(50));
}

} // namespace FakeLoader
