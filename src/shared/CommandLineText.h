// Argument texts as the system shell passes them on: one string, split by the usual quoting rules.
#pragma once

#include <string>
#include <vector>

namespace Corvane::Shared {

// Splits text into arguments: white space separates them, double quotes group, 2n backslashes before
// a quote give n backslashes and a quote that groups, 2n+1 give n backslashes and a literal quote,
// and "" inside a quoted part is a literal quote.
std::vector<std::string> SplitCommandLineText(const std::string& text);

} // namespace Corvane::Shared
