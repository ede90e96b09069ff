// Small file helpers of the unit tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace TestFiles {

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Creates the missing folders first; replaces a file there.
inline void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// An executable shell script running body.
inline void WriteScript(const std::filesystem::path& path, const std::string& body) {
    WriteAll(path, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

} // namespace TestFiles
