// Readers of the Linux MIME registration files, apart from where those files live, so that tests
// can point them at their own files.
#pragma once

#include <functional>
#include <string>

namespace Platform::MimeFiles {

using TAddMimeType = std::function<void(const std::string& ext, const std::string& type)>;

// Every pair of a mime.types file ("type ext1 ext2 ...", '#' starts a comment), in file order.
void ReadMimeTypes(const std::string& path, const TAddMimeType& add);

// The plain "*.ext" globs of a shared-mime-info folder: globs2 ("weight:type:glob[:flags]"), or
// globs ("type:glob") when there is no globs2. One pair per extension: the highest weight, the
// earlier line on a tie.
void ReadMimeGlobs(const std::string& mimeDir, const TAddMimeType& add);

// The shared-mime-info folder, ending in '/': "mime/" under the first $XDG_DATA_DIRS entry that
// has globs2 or globs, else /usr/share/mime/.
std::string FindMimeDir();

} // namespace Platform::MimeFiles
