// Program entry of the runtime.
#include <clocale>
#include <string>
#include <utility>
#include <vector>

#include "runtime/Program.h"
#if defined(_WIN32)
#include "abi/Utf.h"
#endif

namespace {

int Run(std::vector<std::string> arguments) {
    // The 8-bit code page and the dialogs follow the user's locale.
    std::setlocale(LC_ALL, "");
    return Corvane::Runtime::RunProgram(std::move(arguments));
}

} // namespace

#if defined(_WIN32)
// The wide entry point: the 8-bit arguments of main would lose what the ANSI code page cannot hold.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(Corvane::Abi::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    return Run(std::move(arguments));
}
#else
int main(int argc, char** argv) {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
