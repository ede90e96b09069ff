// The settings file crv.ini: generated from the options, or read back from a file given with --ini.
#pragma once

#include <string>
#include <string_view>

#include "PackOptions.h"

namespace Corvane::Pack {

// The identity keys, as the runtime will read them.
struct TAppIdentity {
    std::string Id;
    std::string Name;
    std::string DirName;
    std::string IndexHtml;
};

// Checks every value that goes into a generated crv.ini. Throws EUsageError.
TAppIdentity IdentityFromOptions(const TPackOptions& options);
// Reads a given crv.ini as the runtime will. --dir-name and --index, when given, must agree with it
// (EUsageError otherwise); missing identity keys are warned about, since the package then refuses
// to start. iniPath only names the file in messages.
TAppIdentity IdentityFromIniFile(std::string_view iniBytes, const std::string& iniPath,
                                 const TPackOptions& options);
// UTF-8 with byte-order mark, CR LF line ends: [App], the identity keys, then the --set keys.
std::string GenerateIni(const TAppIdentity& identity, const TPackOptions& options);

} // namespace Corvane::Pack
