// Program entry of the runtime.
#include <clocale>
#include <string>
#include <vector>

#include "runtime/Program.h"

int main(int argc, char** argv) {
    // The 8-bit code page and the dialogs follow the user's locale.
    std::setlocale(LC_ALL, "");
    return Corvane::Runtime::RunProgram(std::vector<std::string>(argv + 1, argv + argc));
}
