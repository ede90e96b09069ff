// Tests of command output: both streams in order, long output, failures to start, the locale's
// character set across pieces, and the terminal window.
#include "platform/CommandOutput.h"
#include "platform/Locale.h"
#include "shared/SysUtils.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

using Corvane::Shared::TSysUtils;

namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command, const std::string& dir = "") {
    return TSysUtils::GetDosOutput(command, dir, false);
}

// A fresh folder below the temporary folder, removed at the end of the test.
class TTempDir {
public:
    TTempDir() {
        std::string pattern = (fs::temp_directory_path() / "crv-command-test-XXXXXX").string();
        Path = mkdtemp(pattern.data());
    }
    ~TTempDir() {
        std::error_code ignored;
        fs::remove_all(Path, ignored);
    }
    fs::path Path;
};

// Sets an environment variable for the scope, restoring the old value after.
class TEnv {
public:
    TEnv(const char* name, const std::string& value) : FName(name) {
        if (const char* old = std::getenv(name)) FOld = old;
        setenv(name, value.c_str(), 1);
    }
    ~TEnv() {
        if (FOld)
            setenv(FName, FOld->c_str(), 1);
        else
            unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

// Switches the process to a locale for the scope.
class TLocale {
public:
    explicit TLocale(const char* name) : FOld(std::setlocale(LC_ALL, nullptr)) {
        Available = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~TLocale() { std::setlocale(LC_ALL, FOld.c_str()); }
    bool Available = false;

private:
    std::string FOld;
};

const std::string kEAcute = "\xC3\xA9";
const std::string kReplacement = "\xEF\xBF\xBD";

} // namespace

TEST(CommandOutputTest, CollectsBothStreamsInTheOrderWritten) {
    EXPECT_EQ(Output("echo out; echo err >&2; echo out2"), "out\nerr\nout2\n");
    EXPECT_EQ(Output("true"), "");
    // Zero bytes are output like any other.
    EXPECT_EQ(Output("printf 'a\\000b'"), std::string("a\0b", 3));
}

TEST(CommandOutputTest, LongOutputArrivesWhole) {
    std::string expected;
    for (int i = 0; i < 3000; ++i)
        expected += "line " + std::to_string(i) + "\n";
    EXPECT_EQ(Output("i=0; while [ $i -lt 3000 ]; do echo \"line $i\"; i=$((i+1)); done"), expected);
}

TEST(CommandOutputTest, FailuresShowInTheOutputOrGiveNothing) {
    // A command that does not exist: the interpreter's own complaint is the output.
    const std::string missing = Output("crv-no-such-command-4711");
    EXPECT_NE(missing.find("crv-no-such-command-4711"), std::string::npos) << missing;
    EXPECT_NE(missing.find("not found"), std::string::npos) << missing;
    // A working folder that does not exist keeps the command from starting at all.
    EXPECT_EQ(Output("echo hi", "/nonexistent/crv-folder"), "");

    TTempDir dir;
    EXPECT_EQ(Output("pwd", dir.Path.string()), fs::canonical(dir.Path).string() + "\n");
    std::ofstream(dir.Path / "file").put('x');
    EXPECT_EQ(Output("echo hi", (dir.Path / "file").string()), "");
}

TEST(CommandOutputTest, CharactersCutBetweenPiecesArriveWhole) {
    TLocale locale("C.UTF-8");
    if (!locale.Available) GTEST_SKIP() << "no C.UTF-8 locale";
    // One byte first, so that the reads of even length end inside a character.
    std::string text = "x";
    for (int i = 0; i < 20000; ++i)
        text += kEAcute;
    EXPECT_EQ(Output("printf '%s' '" + text + "'"), text);

    // Fed one byte at a time, every character but the last waits for its second byte.
    Platform::TLocaleTextDecoder decoder;
    std::string out;
    const std::string bytes = "a" + kEAcute + "\xE2\x82\xAC" + "\xF0\x9F\x98\x80" + "b\xFF" + "c\xC3";
    for (const char byte : bytes)
        out += decoder.Decode(std::string_view(&byte, 1));
    out += decoder.Finish();
    EXPECT_EQ(out,
              "a" + kEAcute + "\xE2\x82\xAC" + "\xF0\x9F\x98\x80" + "b" + kReplacement + "c" + kReplacement);
}

TEST(CommandOutputTest, TheCLocaleIsReadAsUtf8) {
    TLocale locale("C");
    EXPECT_EQ(Output("printf 'caf\\303\\251 \\377'"), "caf" + kEAcute + " " + kReplacement);
}

TEST(CommandOutputTest, ShowWindowRunsTheCommandInATerminalAndStillCollectsItsOutput) {
    TTempDir dir;
    const fs::path used = dir.Path / "terminal-used";
    // A terminal program of the usual form: "-e" and the program to run with its arguments. What
    // it shows goes nowhere, so the output can only come back through the copy.
    const fs::path terminal = dir.Path / "x-terminal-emulator";
    std::ofstream(terminal) << "#!/bin/sh\ntouch '" << used.string()
                            << "'\n[ \"$1\" = -e ] && shift\nexec \"$@\" >/dev/null 2>&1\n";
    fs::permissions(terminal, fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    TEnv pathEnv("PATH", dir.Path.string() + ":" + (path ? path : "/usr/bin:/bin"));
    TEnv display("DISPLAY", ":4711");
    unsetenv("TERMINAL");

    EXPECT_EQ(TSysUtils::GetDosOutput("echo out; echo err >&2; pwd", dir.Path.string(), true),
              "out\nerr\n" + fs::canonical(dir.Path).string() + "\n");
    EXPECT_TRUE(fs::exists(used));

    // A terminal that fails without running anything: the command runs hidden instead.
    fs::remove(used);
    std::ofstream(terminal) << "#!/bin/sh\ntouch '" << used.string() << "'\nexit 1\n";
    EXPECT_EQ(TSysUtils::GetDosOutput("echo hidden", "", true), "hidden\n");
    EXPECT_TRUE(fs::exists(used));
}
