// How crv-pack reports: usage errors (exit 2), failures (exit 1) and warnings, all on stderr.
#pragma once

#include <stdexcept>
#include <string>

namespace Corvane::Pack {

// A command line that cannot be carried out as written.
class EUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// "crv-pack: warning: TEXT" on stderr; keeps a progress line intact.
void Warn(const std::string& text);
// "crv-pack: TEXT" on stderr.
void ReportError(const std::string& text);

} // namespace Corvane::Pack
