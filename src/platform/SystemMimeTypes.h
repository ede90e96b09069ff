// The content types that the operating system registers per file extension.
#pragma once

#include <functional>
#include <string>

namespace Platform {

// Calls add(extension, type) for every registration, in the order in which a later one should
// replace an earlier one. Extensions come with their leading dot; case is left as found.
void ForEachSystemMimeType(const std::function<void(const std::string& ext, const std::string& type)>& add);

} // namespace Platform
