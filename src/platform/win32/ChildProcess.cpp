// Starting a child process with exactly the handles it should inherit.
#include "platform/win32/ChildProcess.h"

#include <memory>
#include <vector>

namespace Platform::Win32 {

namespace {

// Inheritable copies of the child's standard handles, closed again once the child has its own.
class TInheritedHandles {
public:
    HANDLE Add(HANDLE handle) {
        if (!handle || handle == INVALID_HANDLE_VALUE) return nullptr;
        // One copy per distinct handle: the inheritance list may not name a handle twice.
        for (size_t i = 0; i < FOriginals.size(); ++i)
            if (FOriginals[i] == handle) return FCopies[i];
        HANDLE copy = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                             DUPLICATE_SAME_ACCESS))
            return nullptr;
        FOriginals.push_back(handle);
        FCopies.push_back(copy);
        return copy;
    }
    std::vector<HANDLE>& Copies() { return FCopies; }
    ~TInheritedHandles() {
        for (HANDLE copy : FCopies)
            CloseHandle(copy);
    }

private:
    std::vector<HANDLE> FOriginals;
    std::vector<HANDLE> FCopies;
};

} // namespace

HANDLE StartChild(const TChildStart& start) {
    TInheritedHandles handles;
    STARTUPINFOEXW info{};
    info.StartupInfo.cb = sizeof info;
    info.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
    info.StartupInfo.wShowWindow = start.ShowWindow;
    info.StartupInfo.hStdInput = handles.Add(start.Input);
    info.StartupInfo.hStdOutput = handles.Add(start.Output);
    info.StartupInfo.hStdError = handles.Add(start.Error);
    const bool inherit = !handles.Copies().empty();
    if (inherit) info.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;

    // Without the list, every inheritable handle of this process would go along, and a pipe held
    // open by an unrelated child would never reach its end.
    std::unique_ptr<char[]> attributes;
    DWORD flags = start.CreationFlags;
    if (inherit) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        attributes = std::make_unique<char[]>(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.get());
        if (InitializeProcThreadAttributeList(list, 1, 0, &size) &&
            UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles.Copies().data(),
                                      handles.Copies().size() * sizeof(HANDLE), nullptr, nullptr)) {
            info.lpAttributeList = list;
            flags |= EXTENDED_STARTUPINFO_PRESENT;
        }
    }

    std::wstring commandLine = start.CommandLine; // CreateProcessW may write into it
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(
        nullptr, commandLine.data(), nullptr, nullptr, inherit, flags, nullptr,
        start.WorkingDir.empty() ? nullptr : start.WorkingDir.c_str(), &info.StartupInfo, &process);
    const DWORD error = GetLastError();
    if (info.lpAttributeList) DeleteProcThreadAttributeList(info.lpAttributeList);
    if (!started) {
        SetLastError(error);
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

void UseOwnStandardStreams(TChildStart& start) {
    start.Input = GetStdHandle(STD_INPUT_HANDLE);
    start.Output = GetStdHandle(STD_OUTPUT_HANDLE);
    start.Error = GetStdHandle(STD_ERROR_HANDLE);
}

int ExitCodeOfProcess(HANDLE process) {
    DWORD code = 0;
    if (!GetExitCodeProcess(process, &code)) return 0;
    return static_cast<int>(code);
}

} // namespace Platform::Win32
