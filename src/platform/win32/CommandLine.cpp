// Quoting arguments for the command line that a Windows program splits itself.
#include "platform/win32/CommandLine.h"

#include "platform/win32/Wide.h"

namespace Platform::Win32 {

std::wstring QuoteArgument(std::wstring_view argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos)
        return std::wstring(argument);
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count as escapes only before a quote: there they are doubled, and the quote
        // gets one of its own.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    // The closing quote follows them, so they are doubled too.
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring JoinArguments(const std::vector<std::string>& arguments) {
    std::wstring line;
    for (const auto& argument : arguments) {
        if (!line.empty()) line += L' ';
        line += QuoteArgument(Widen(argument));
    }
    return line;
}

} // namespace Platform::Win32
