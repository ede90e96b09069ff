// The per-user named lock on Windows: a mutex named by the caller, which the system frees when the
// process ends, however it ends.
#include "platform/InstanceLock.h"

#include "platform/win32/Wide.h"

namespace Platform {

TLockResult CreateNamedLock(const std::string& name) {
    // Not owned: the name's existence is the lock. The handle stays open until the process ends.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, Win32::Widen(name).c_str());
    const DWORD error = GetLastError();
    if (!mutex) return error == ERROR_ACCESS_DENIED ? TLockResult::AlreadyExists : TLockResult::Failed;
    return error == ERROR_ALREADY_EXISTS ? TLockResult::AlreadyExists : TLockResult::Acquired;
}

} // namespace Platform
