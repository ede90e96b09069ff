// Where an ELF or PE image ends, read from a file of any bytes. Contents may be declared past the
// file's end (the image then carries no archive); only the header tables must lie inside it.
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "FuzzTarget.h"
#include "shared/ExeImage.h"

using namespace Corvane::Shared;

namespace {

// The reader takes a path: each input is written to this file first.
const std::string& InputPath() {
    static const std::string path = [] {
        std::string name = "/tmp/crv-fuzz-exe-" + std::to_string(::getpid());
        std::atexit([] { ::unlink(InputPath().c_str()); });
        return name;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream file(InputPath(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const auto info = ReadExeImageInfo(InputPath());
    Fuzz::Check(!info || info->Format != TExeFormat::Unknown, "a read image has a format");
    return 0;
}
