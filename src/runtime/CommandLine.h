// The program's arguments (after the program path) and the rules of a hand-over start.
#pragma once

#include <string>
#include <vector>

namespace Corvane::Runtime {

class TCommandLine {
public:
    static void Set(std::vector<std::string> args);
    static const std::vector<std::string>& Args();

    // The first argument equals id (same characters, same case).
    static bool FirstArgIs(const std::string& id);
    // Exactly two arguments, the first equal to id: a start handed over by another instance.
    static bool IsHandOver(const std::string& id);
};

} // namespace Corvane::Runtime
