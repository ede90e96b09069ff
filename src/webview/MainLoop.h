// Handing work to the toolkit's main loop: completions run from the loop, never inside the call that
// started them, and in the order they were handed over.
#pragma once

#include <functional>

namespace CrvWebView {

// Safe from any thread.
void RunOnMainLoop(std::function<void()> work);

} // namespace CrvWebView
