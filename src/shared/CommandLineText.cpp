// Splitting argument texts by the quoting rules programs on the system expect.
#include "shared/CommandLineText.h"

namespace Corvane::Shared {

std::vector<std::string> SplitCommandLineText(const std::string& text) {
    std::vector<std::string> args;
    std::string current;
    bool inArg = false, quoted = false;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (!quoted && (c == ' ' || c == '\t' || c == '\n' || c == '\r')) {
            if (inArg) args.push_back(std::move(current));
            current.clear();
            inArg = false;
            ++i;
            continue;
        }
        inArg = true;
        if (c == '\\') {
            std::size_t n = 0;
            while (i < text.size() && text[i] == '\\') {
                ++n;
                ++i;
            }
            if (i < text.size() && text[i] == '"') {
                current.append(n / 2, '\\');
                if (n % 2 == 1) {
                    current += '"';
                    ++i;
                }
            } else {
                current.append(n, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
                current += '"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        current += c;
        ++i;
    }
    if (inArg) args.push_back(std::move(current));
    return args;
}

} // namespace Corvane::Shared
