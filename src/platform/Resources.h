// Data resources built into the program (RCDATA on Windows).
#pragma once

#include <string>
#include <string_view>

namespace Platform {

// The bytes of the program's data resource of that name; empty when there is none.
std::string_view ProgramResource(const std::string& name);

} // namespace Platform
