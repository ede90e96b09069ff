// Ending another process that was asked to close: wait for it a while, then kill it.
#pragma once

#include <cstdint>

namespace Platform {

// Waits up to timeoutMs for the process to end and kills it (exit code 1 on Windows, SIGKILL on
// Linux) if it has not. Process id 0, our own process and ids that cannot name one process are left
// alone.
void WaitOrKillProcess(std::uint32_t processId, int timeoutMs);

} // namespace Platform
