// The settings file from raw bytes: the byte-order marks, and without one the locale's code page,
// both a UTF-8 one and plain ASCII. Whatever the bytes, every value read is valid UTF-8.
#include <clocale>
#include <string>

#include "FuzzTarget.h"
#include "abi/Utf.h"
#include "shared/ProjectIni.h"

using namespace Corvane::Shared;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = Fuzz::Text(data, size);
    for (const char* locale : {"C", "C.UTF-8"}) {
        std::setlocale(LC_CTYPE, locale);
        Fuzz::Check(Corvane::Abi::IsValidUtf8(DecodeTextFile(bytes)), "decoded text is valid UTF-8");
    }
    TProjectIni ini;
    ini.LoadFromBytes(bytes);
    for (const char* section : {"App", "app", ""}) {
        for (const char* key : {"ID", "Name", "DirName", "IndexHtml", "Theme", "Width", ""}) {
            const std::string value = ini.ReadString(section, key, "-");
            Fuzz::Check(Corvane::Abi::IsValidUtf8(value), "a value is valid UTF-8");
            Fuzz::Check(value.find_first_of("\r\n") == std::string::npos, "a value holds no line break");
            ini.ReadInteger(section, key, 0);
            ini.ReadBool(section, key, false);
        }
    }
    return 0;
}
