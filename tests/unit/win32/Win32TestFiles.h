// Small file helpers of the Windows backend's tests. Paths are UTF-8, as the platform layer takes them.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/Wide.h"

namespace Win32TestFiles {

// A fresh folder below the temporary folder, removed with everything in it at the end of the test.
class TTempDir {
public:
    TTempDir() {
        Path = std::filesystem::temp_directory_path() /
               ("crv-win32-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++FCount));
        std::filesystem::create_directories(Path);
    }
    ~TTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    std::string Utf8() const { return Platform::Win32::Narrow(Path.wstring()); }
    // The path of name inside.
    std::string operator/(const std::string& name) const { return Utf8() + "\\" + name; }
    std::filesystem::path Path;

private:
    static inline int FCount = 0;
};

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(std::filesystem::path(Platform::Win32::Widen(path)), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(Platform::Win32::Widen(path)), std::ios::binary | std::ios::trunc)
        << bytes;
}

} // namespace Win32TestFiles
