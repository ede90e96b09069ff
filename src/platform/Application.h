// The user-interface toolkit's life: start-up, the main loop, work handed to the UI thread.
#pragma once

#include <functional>
#include <string>

namespace Platform {

// Initialises the toolkit once per process; later calls only answer. False when no display can
// be opened.
bool EnsureUiInitialized();
// Runs the main loop until QuitMainLoop.
void RunMainLoop();
void QuitMainLoop();
// Runs fn on the UI thread from its main loop, in the order queued; callable from any thread. An
// exception that leaves fn is shown in an error box titled with the application title.
void QueueOnUiThread(std::function<void()> fn);
// Runs pending events of the main loop without blocking.
void ProcessMessages();
// The application's title, shown in task lists (the application name).
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

} // namespace Platform
