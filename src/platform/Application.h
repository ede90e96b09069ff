// The user-interface toolkit's life: start-up, the main loop, work handed to the UI thread.
#pragma once

#include <functional>

namespace Platform {

// Initialises the toolkit once per process; later calls only answer. False when no display can
// be opened.
bool EnsureUiInitialized();
// Runs the main loop until QuitMainLoop.
void RunMainLoop();
void QuitMainLoop();
// Runs fn on the UI thread from its main loop, in the order queued; callable from any thread.
void QueueOnUiThread(std::function<void()> fn);
// Runs pending events of the main loop without blocking.
void ProcessMessages();

} // namespace Platform
