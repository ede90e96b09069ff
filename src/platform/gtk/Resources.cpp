// Program resources: looked up in the table that the build generates from resources/.
#include "platform/Resources.h"

#include "platform/gtk/EmbeddedResources.h"

namespace Platform {

std::string_view ProgramResource(const std::string& name) {
    for (const auto* entry = kEmbeddedResources; entry->Name; ++entry)
        if (name == entry->Name) return {reinterpret_cast<const char*>(entry->Data), entry->Size};
    return {};
}

} // namespace Platform
