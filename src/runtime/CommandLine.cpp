// The program's arguments.
#include "runtime/CommandLine.h"

namespace Corvane::Runtime {

namespace {
std::vector<std::string> gArgs;
}

void TCommandLine::Set(std::vector<std::string> args) {
    gArgs = std::move(args);
}
const std::vector<std::string>& TCommandLine::Args() {
    return gArgs;
}
bool TCommandLine::FirstArgIs(const std::string& id) {
    return !gArgs.empty() && gArgs[0] == id;
}
bool TCommandLine::IsHandOver(const std::string& id) {
    return gArgs.size() == 2 && gArgs[0] == id;
}

} // namespace Corvane::Runtime
