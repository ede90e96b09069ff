// System functions over the shell: the file manager, command output, window captions.
#include "shared/SysUtils.h"

#include <cstddef>

#include "platform/CommandOutput.h"
#include "platform/FileManager.h"
#include "platform/Locale.h"
#include "platform/WindowList.h"

namespace Corvane::Shared {

namespace {

// White space and control characters, which a caption may not consist of alone.
bool IsBlankCaption(const std::string& caption) {
    for (const char c : caption)
        if (static_cast<unsigned char>(c) > ' ' && c != '\x7F') return false;
    return true;
}

} // namespace

bool TSysUtils::ShellExplore(const std::string& filePath) {
    return Platform::ShowInFileManager(filePath);
}

std::string TSysUtils::GetDosOutput(const std::string& commandLine, const std::string& workingDir,
                                    bool showWindow) {
    // Pieces are decoded as they come; a character that a piece cuts in two is finished by the
    // next. Zero bytes are output like any other.
    Platform::TLocaleTextDecoder decoder;
    std::string text;
    const bool started = Platform::RunCommandCapture(
        commandLine, workingDir, showWindow, [&](std::string_view piece) { text += decoder.Decode(piece); });
    if (!started) return {};
    text += decoder.Finish();
    return text;
}

void TSysUtils::GetWindowsCaptions(std::vector<std::string>& windowsCaptionsList) {
    windowsCaptionsList.clear();
    for (auto& caption : Platform::TopLevelWindowCaptions())
        if (!IsBlankCaption(caption)) windowsCaptionsList.push_back(std::move(caption));
}

} // namespace Corvane::Shared
