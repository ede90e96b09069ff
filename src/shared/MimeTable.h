// The extension-to-content-type table behind GetFileMIMEType, in its layers.
#pragma once

#include <functional>
#include <future>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace Corvane::Shared::Mime {

struct TMimePair {
    std::string_view Extension; // with its leading dot, lower case
    std::string_view Type;
};

using TMimeMap = std::unordered_map<std::string, std::string>;
using TAddMimeType = std::function<void(const std::string& ext, const std::string& type)>;
using TMimeSource = std::function<void(const TAddMimeType& add)>;

// The built-in pairs, in order; where an extension repeats, its first pair counts.
std::span<const TMimePair> BuiltInMimeTypes();

// The built-in pairs, then every pair that systemSource reports, a later one replacing an
// earlier one. Extensions and types are stored in lower case.
TMimeMap BuildMimeTable(std::span<const TMimePair> builtIn, const TMimeSource& systemSource);

// The table of this process: the built-in pairs and the system's registrations, built once.
const TMimeMap& ProcessMimeTable();

// Builds the table of this process on a thread of its own, so that the first lookup finds it made:
// reading the system's registrations is work for another core while the program starts. The future
// waits for the thread when it goes; without a thread the table is built at the first lookup.
std::future<void> PrepareProcessMimeTable();

// The lower-case extension of a file name or path, dot included: the text from the last dot after
// the last '\\', ':' or '/'. Empty when there is no such dot.
std::string ExtractExtension(std::string_view fileName);

} // namespace Corvane::Shared::Mime
