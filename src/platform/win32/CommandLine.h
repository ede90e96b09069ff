// Command lines for CreateProcessW and ShellExecuteW that the started program splits back into
// exactly the arguments given, by the rules of CommandLineToArgvW and the C run-time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Platform::Win32 {

// One argument, in double quotes when it is empty or holds white space or a quote.
std::wstring QuoteArgument(std::wstring_view argument);
// The arguments (UTF-8), each quoted, separated by single spaces.
std::wstring JoinArguments(const std::vector<std::string>& arguments);

} // namespace Platform::Win32
