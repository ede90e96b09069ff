// Diagnostics of crv-pack on stderr.
#include "PackErrors.h"

#include <cstdio>

#include "Progress.h"

namespace Corvane::Pack {

void Warn(const std::string& text) {
    TProgress::ClearLine();
    std::fprintf(stderr, "crv-pack: warning: %s\n", text.c_str());
}

void ReportError(const std::string& text) {
    TProgress::ClearLine();
    std::fprintf(stderr, "crv-pack: %s\n", text.c_str());
}

} // namespace Corvane::Pack
