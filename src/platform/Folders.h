// Well-known folders of the user. Every path ends with the path separator.
#pragma once

#include <string>

namespace Platform {

#ifdef _WIN32
constexpr char PathDelim = '\\';
#else
constexpr char PathDelim = '/';
#endif

std::string GetLocalAppDataDir();
std::string GetRoamingAppDataDir();
std::string GetDocumentsDir();
std::string GetDesktopDir();
std::string GetTempDir();

} // namespace Platform
