// Showing a file in the desktop's file manager.
#pragma once

#include <string>

namespace Platform {

// Opens the file manager on the folder of path with path selected; where no file manager takes that
// request, opens the folder with the desktop's default application. path is not checked first. False
// when neither worked; LastErrorCode and SysErrorMessage then tell why.
bool ShowInFileManager(const std::string& path);

} // namespace Platform
