// Tests that need a second process start their own executable again, running one test that does
// the child's part. The child learns its task from an environment variable, which it inherits.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Process.h"
#include "platform/win32/Wide.h"

namespace SelfChild {

constexpr const wchar_t* kTaskVariable = L"CRV_TEST_CHILD_TASK";

// The command that runs only the test named filter of this executable, with extra arguments after.
inline std::vector<std::string> Command(const std::string& filter,
                                        const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args{Platform::GetExecutablePath(), "--gtest_filter=" + filter};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

// Sets the child's task for the scope; the child reads it with Task().
class TTask {
public:
    explicit TTask(const std::string& task) {
        SetEnvironmentVariableW(kTaskVariable, Platform::Win32::Widen(task).c_str());
    }
    ~TTask() { SetEnvironmentVariableW(kTaskVariable, nullptr); }
};

// The task this process was started for as a child; empty in the parent.
inline std::string Task() {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(kTaskVariable, value, 1024);
    return length > 0 && length < 1024 ? Platform::Win32::Narrow(value) : std::string();
}

} // namespace SelfChild
