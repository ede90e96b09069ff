// File operations on Windows.
#include "platform/Files.h"

#include <cstdio>
#include <random>

#include "platform/win32/Wide.h"

namespace Platform {

namespace {

bool Fail(int& error) {
    const DWORD code = GetLastError();
    error = code != 0 ? static_cast<int>(code) : ERROR_WRITE_FAULT;
    return false;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD piece = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), piece, &written, nullptr)) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool WriteInPlace(const std::wstring& path, std::string_view bytes, int& error) {
    // OPEN_ALWAYS and not CREATE_ALWAYS: that one refuses hidden and system files.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(error);
    const bool ok = SetEndOfFile(file) && WriteAll(file, bytes);
    const DWORD code = GetLastError();
    CloseHandle(file);
    SetLastError(code);
    if (!ok) return Fail(error);
    error = 0;
    return true;
}

// The file that a symbolic link names, or path itself.
std::wstring FinalPath(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return path;
    std::wstring target(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(file, target.data(), static_cast<DWORD>(target.size()), 0);
    CloseHandle(file);
    if (length == 0 || length >= target.size()) return path;
    target.resize(length);
    return target;
}

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool RefusesReplacement(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_LOCK_VIOLATION || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

std::wstring TempNameBeside(const std::wstring& path) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    wchar_t suffix[24];
    std::swprintf(suffix, 24, L".crv-%012llx", static_cast<unsigned long long>(random() >> 16));
    return path + suffix;
}

} // namespace

bool MoveFileNoReplace(const std::string& from, const std::string& to, int& error) {
    // Without MOVEFILE_REPLACE_EXISTING an existing target fails the move.
    if (!MoveFileExW(Win32::Widen(from).c_str(), Win32::Widen(to).c_str(), MOVEFILE_COPY_ALLOWED)) {
        error = static_cast<int>(GetLastError());
        return false;
    }
    error = 0;
    return true;
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes, int& error) {
    const std::wstring target = FinalPath(Win32::Widen(path));
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = ERROR_ACCESS_DENIED;
        return false;
    }

    const std::wstring temp = TempNameBeside(target);
    HANDLE file =
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    // A folder we may not add to can still hold a file we may write.
    if (file == INVALID_HANDLE_VALUE) return WriteInPlace(target, bytes, error);
    bool ok = WriteAll(file, bytes) && FlushFileBuffers(file);
    DWORD failure = GetLastError();
    CloseHandle(file);
    if (ok && exists) {
        // The replacement keeps the old file's security and creation time; its attributes are
        // copied first, as not every system carries them over.
        SetFileAttributesW(temp.c_str(), attributes & kKeptAttributes);
        ok = ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                          nullptr);
        failure = GetLastError();
        // A file that refuses to be replaced (read-only, in use) stays as it is. Other failures
        // leave a plain rename to try: the file system may not support replacing, or the old file
        // is already gone and only the new one's rename is missing.
        if (!ok && !RefusesReplacement(failure)) {
            ok =
                MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            failure = GetLastError();
        }
    } else if (ok) {
        ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
        failure = GetLastError();
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
        error = failure != 0 ? static_cast<int>(failure) : ERROR_WRITE_FAULT;
        return false;
    }
    error = 0;
    return true;
}

// The C++ library's copy takes any existing target for the source itself (its file numbers are
// always zero here), so the system copies.
bool CopyFileReplacing(const std::string& from, const std::string& to) {
    return CopyFileW(Win32::Widen(from).c_str(), Win32::Widen(to).c_str(), FALSE) != 0;
}

} // namespace Platform
