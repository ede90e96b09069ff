// The running process on Windows.
#include "platform/Process.h"

#include <cstdio>

#include "platform/win32/Wide.h"

namespace Platform {

namespace {

// A message that came with the last error, believed only while that code is still the last error.
struct TErrorText {
    int code = 0;
    std::string message;
};
thread_local TErrorText lastErrorText;

std::string SystemText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length ? Win32::Narrow(std::wstring_view(text, length)) : std::string();
    if (text) LocalFree(text);
    // The system ends its texts with a line break.
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message.empty() ? "Unknown error " + std::to_string(code) : message;
}

} // namespace

std::string GetExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return Win32::Narrow(path);
        }
        path.resize(path.size() * 2); // cut short: try a larger buffer
    }
}

std::string GetExecutableFolder() {
    const std::string path = GetExecutablePath();
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string GetEnvironmentValue(const std::string& name) {
    const std::wstring wideName = Win32::Widen(name);
    std::wstring value(256, L'\0');
    while (true) {
        const DWORD length =
            GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) return {};
        if (length < value.size()) {
            value.resize(length);
            return Win32::Narrow(value);
        }
        value.resize(length); // too small: length is the size needed, with the terminating zero
    }
}

void SetEnvironmentValue(const std::string& name, const std::string& value) {
    SetEnvironmentVariableW(Win32::Widen(name).c_str(), Win32::Widen(value).c_str());
}

void RemoveEnvironmentValue(const std::string& name) {
    SetEnvironmentVariableW(Win32::Widen(name).c_str(), nullptr);
}

void ExitProcess(int code) {
    std::fflush(nullptr);
    ::ExitProcess(static_cast<UINT>(code));
}

int LastErrorCode() {
    return static_cast<int>(GetLastError());
}

void SetLastError(int code, const std::string& message) {
    lastErrorText.code = code;
    lastErrorText.message = message;
    ::SetLastError(static_cast<DWORD>(code));
}

std::string SysErrorMessage(int code) {
    const DWORD saved = GetLastError();
    std::string text;
    if (code == static_cast<int>(saved) && code == lastErrorText.code && !lastErrorText.message.empty())
        text = lastErrorText.message;
    else
        text = SystemText(static_cast<DWORD>(code));
    ::SetLastError(saved);
    return text;
}

} // namespace Platform
