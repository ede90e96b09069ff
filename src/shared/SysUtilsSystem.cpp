// System functions about the machine, the user, the keyboard and the screen's fonts.
#include "shared/SysUtils.h"

#include "platform/Fonts.h"
#include "platform/Keyboard.h"
#include "platform/SystemInfo.h"

namespace Corvane::Shared {

std::string TSysUtils::GetProgramFilesDirPath() {
    return Platform::ProgramsDir();
}

std::string TSysUtils::GetSystemAppsDirPath() {
    return Platform::SystemAppsDir();
}

std::string TSysUtils::GetComputerNetName() {
    return Platform::ComputerName();
}

std::string TSysUtils::GetUserFromWindows() {
    std::string name = Platform::UserName();
    return name.empty() ? "Unknown" : name;
}

bool TSysUtils::PressKey(std::uint16_t virtualKey) {
    return Platform::PressVirtualKey(virtualKey);
}

int TSysUtils::TrueFontWidth(const TFont& font, const std::string& text) {
    return Platform::TextWidthInPixels({font.Name, font.Height, font.Bold, font.Italic}, text);
}

} // namespace Corvane::Shared
