// Loading a shared library at run time and finding its exports.
#pragma once

#include <string>

namespace Platform {

class TDynamicLibrary {
public:
    TDynamicLibrary() = default;
    ~TDynamicLibrary() { Unload(); }
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

    bool Load(const std::string& path);
    void* Symbol(const char* name) const;
    void Unload();
    bool Loaded() const { return FHandle != nullptr; }
    // The loader's text for the last failure.
    const std::string& Error() const { return FError; }

private:
    void* FHandle = nullptr;
    std::string FError;
};

} // namespace Platform
