// Base64 text as a page passes it for a file: decoded, or refused with nothing left behind.
#include <string>

#include "FuzzTarget.h"
#include "shared/Base64.h"

using namespace Corvane::Shared;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes = "left over";
    const bool ok = Base64Decode(Fuzz::Text(data, size), bytes);
    Fuzz::Check(ok || bytes.empty(), "a refused text gives no bytes");
    Fuzz::Check(bytes.size() <= size / 4 * 3 + 2, "four characters give at most three bytes");
    return 0;
}
