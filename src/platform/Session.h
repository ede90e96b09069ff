// Ending the user's session or the whole system: log off, restart, power off.
#pragma once

namespace Platform {

enum class TSessionEnd { Logoff, Reboot, Shutdown };

// Asks the system to end the caller's session, or to restart or power off the machine, without
// asking the user or other programs anything. Returns once the system has accepted or refused the
// request; the action itself follows on the system's own schedule. False when refused or when the
// system could not be reached; LastErrorCode and SysErrorMessage then tell why.
bool EndSession(TSessionEnd what);

} // namespace Platform
