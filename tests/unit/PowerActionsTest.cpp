// Tests of log off, restart and power off, and of the error texts they leave behind. No test may
// reach the real system bus: each points DBUS_SYSTEM_BUS_ADDRESS elsewhere first, or is skipped.
#include "platform/Process.h"
#include "shared/SysUtils.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using Corvane::Shared::TSysUtils;

namespace {

constexpr const char* kBusVariable = "DBUS_SYSTEM_BUS_ADDRESS";
constexpr const char* kMissingBus = "unix:path=/nonexistent/crv-test-bus";

std::string SystemText(int code) {
    return std::strerror(code);
}

TEST(LastError, MessageHoldsOnlyWhileItsCodeIsTheLastError) {
    Platform::SetLastError(EIO, "The bus said no");
    EXPECT_EQ(Platform::LastErrorCode(), EIO);
    EXPECT_EQ(Platform::SysErrorMessage(EIO), "The bus said no");
    EXPECT_EQ(Platform::LastErrorCode(), EIO) << "reading the message must not change the last error";
    EXPECT_EQ(Platform::SysErrorMessage(EACCES), SystemText(EACCES));

    // An unrelated failure afterwards: its own text, and the old message is gone for good.
    errno = ENOENT;
    EXPECT_EQ(Platform::SysErrorMessage(ENOENT), SystemText(ENOENT));
    EXPECT_EQ(Platform::SysErrorMessage(EIO), SystemText(EIO));

    // The same code set again without a message does not bring the old one back.
    Platform::SetLastError(EIO, "The bus said no");
    Platform::SetLastError(EIO);
    EXPECT_EQ(Platform::SysErrorMessage(EIO), SystemText(EIO));

    // Each thread keeps its own.
    Platform::SetLastError(EPERM, "mine");
    std::thread([] { Platform::SetLastError(EPERM, "theirs"); }).join();
    EXPECT_EQ(Platform::SysErrorMessage(EPERM), "mine");
}

// Points the system bus at an address of the test's choosing, and skips the test when it cannot.
class PowerActions : public ::testing::Test {
protected:
    void SetUp() override {
        SaveVariable(kBusVariable, savedBus_);
        SaveVariable("XDG_SESSION_ID", savedSession_);
        if (!PointBusAt(kMissingBus)) GTEST_SKIP() << "cannot set " << kBusVariable;
    }
    void TearDown() override {
        RestoreVariable(kBusVariable, savedBus_);
        RestoreVariable("XDG_SESSION_ID", savedSession_);
    }

    // Whether the variable now holds address.
    static bool PointBusAt(const std::string& address) {
        if (setenv(kBusVariable, address.c_str(), 1) != 0) return false;
        const char* now = std::getenv(kBusVariable);
        return now && address == now;
    }

private:
    static void SaveVariable(const char* name, std::optional<std::string>& saved) {
        if (const char* value = std::getenv(name)) saved = value;
    }
    static void RestoreVariable(const char* name, const std::optional<std::string>& saved) {
        if (saved)
            setenv(name, saved->c_str(), 1);
        else
            unsetenv(name);
    }

    std::optional<std::string> savedBus_, savedSession_;
};

TEST_F(PowerActions, UnreachableBusRefusesWithTheBusText) {
    for (const std::uint32_t flags : {4u, 5u, 6u, 0u, 1u, 2u}) {
        Platform::SetLastError(0);
        EXPECT_FALSE(TSysUtils::ExitWindows(flags)) << flags;
        const int code = Platform::LastErrorCode();
        EXPECT_EQ(code, ECONNREFUSED) << flags;
        const std::string text = Platform::SysErrorMessage(code);
        EXPECT_NE(text, SystemText(code)) << flags;
        EXPECT_NE(text.find("connect"), std::string::npos) << flags << ": " << text;
    }
}

TEST_F(PowerActions, UnknownFlagsAreRefusedWithoutAskingTheSystem) {
    // A bus failure first, so a stale bus text would show.
    ASSERT_FALSE(TSysUtils::ExitWindows(6));
    for (const std::uint32_t flags : {3u, 7u, 8u, 0x10u, 0x14u, 0x8000'0004u, 0xFFFF'FFFFu}) {
        EXPECT_FALSE(TSysUtils::ExitWindows(flags)) << flags;
        EXPECT_EQ(Platform::LastErrorCode(), EINVAL) << flags;
        EXPECT_EQ(Platform::SysErrorMessage(EINVAL), SystemText(EINVAL)) << flags;
    }
}

// A private folder for sockets; its path stays short, as socket paths must.
class TSocketDir {
public:
    TSocketDir() {
        char pattern[] = "/tmp/crv-power-XXXXXX";
        if (mkdtemp(pattern)) path_ = pattern;
    }
    ~TSocketDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

TEST_F(PowerActions, SilentBusTimesOut) {
    // A socket that is listened on but never answered: the handshake waits for good.
    TSocketDir dir;
    ASSERT_FALSE(dir.Path().empty());
    const std::string socketPath = dir.Path() + "/bus";
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    ASSERT_TRUE(PointBusAt("unix:path=" + socketPath));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(TSysUtils::ExitWindows(6));
    const auto waited = std::chrono::steady_clock::now() - start;
    close(listener);

    EXPECT_EQ(Platform::LastErrorCode(), ETIMEDOUT);
    EXPECT_FALSE(Platform::SysErrorMessage(ETIMEDOUT).empty());
    EXPECT_LT(waited, std::chrono::seconds(15));
}

// A child process, ended with SIGTERM when the test is done.
class TChild {
public:
    TChild(const std::vector<std::string>& args, const std::string& outputPath) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv;
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~TChild() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    bool Started() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits up to five seconds for the file to satisfy ready.
template <typename Ready> bool WaitForFile(const std::string& path, Ready ready) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        if (ready(ReadFile(path))) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// The method calls to logind in a monitor's log, each as "path interface.member(arguments)".
std::vector<std::string> LogindCalls(const std::string& log) {
    std::vector<std::string> calls;
    std::istringstream lines(log);
    std::string line;
    auto field = [&line](const std::string& name) {
        const auto start = line.find(name + "=");
        if (start == std::string::npos) return std::string();
        const auto from = start + name.size() + 1;
        return line.substr(from, line.find_first_of("; ", from) - from);
    };
    bool inCall = false;
    while (std::getline(lines, line)) {
        if (line.rfind("   ", 0) == 0) {
            if (inCall) calls.back() += (calls.back().back() == '(' ? "" : ", ") + line.substr(3);
            continue;
        }
        if (inCall) calls.back() += ")";
        inCall = line.rfind("method call", 0) == 0 && field("destination") == "org.freedesktop.login1";
        if (inCall) calls.push_back(field("path") + " " + field("interface") + "." + field("member") + "(");
    }
    if (inCall) calls.back() += ")";
    return calls;
}

bool HaveProgram(const char* name) {
    const std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// A private bus on which nobody owns logind's name, watched by a monitor: the bus itself refuses
// every call, and the monitor shows exactly what was asked.
TEST_F(PowerActions, AsksLogindForTheActionOnAPrivateBus) {
    if (!HaveProgram("dbus-daemon") || !HaveProgram("dbus-monitor"))
        GTEST_SKIP() << "dbus-daemon and dbus-monitor are needed";
    TSocketDir dir;
    ASSERT_FALSE(dir.Path().empty());
    const std::string busAddress = "unix:path=" + dir.Path() + "/bus";
    const std::string config = dir.Path() + "/bus.conf";
    std::ofstream(config) << "<busconfig><type>session</type><listen>" << busAddress
                          << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                             "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                             "<allow own=\"*\"/></policy></busconfig>\n";

    const std::string addressFile = dir.Path() + "/address", log = dir.Path() + "/monitor.log";
    TChild daemon({"dbus-daemon", "--config-file=" + config, "--nofork", "--print-address"}, addressFile);
    ASSERT_TRUE(daemon.Started());
    ASSERT_TRUE(WaitForFile(addressFile, [](const std::string& text) { return !text.empty(); }));
    TChild monitor({"dbus-monitor", "--address", busAddress, "--monitor"}, log);
    ASSERT_TRUE(monitor.Started());
    // The monitor loses its own name once it watches.
    ASSERT_TRUE(
        WaitForFile(log, [](const std::string& text) { return text.find("member=NameLost") != text.npos; }));
    ASSERT_TRUE(PointBusAt(busAddress));

    const std::string manager = "/org/freedesktop/login1 org.freedesktop.login1.Manager.";
    const struct {
        std::uint32_t flags;
        const char* sessionId; // XDG_SESSION_ID, or nullptr for none
        std::string call;
    } cases[] = {
        {6, nullptr, manager + "Reboot(boolean false)"},
        {5, nullptr, manager + "PowerOff(boolean false)"},
        {4, "c7", manager + "TerminateSession(string \"c7\")"},
        {4, nullptr, manager + "GetSessionByPID(uint32 " + std::to_string(getpid()) + ")"},
    };
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        if (c.sessionId)
            setenv("XDG_SESSION_ID", c.sessionId, 1);
        else
            unsetenv("XDG_SESSION_ID");
        EXPECT_FALSE(TSysUtils::ExitWindows(c.flags)) << c.call;
        EXPECT_EQ(Platform::LastErrorCode(), ECONNREFUSED) << c.call;
        EXPECT_EQ(Platform::SysErrorMessage(Platform::LastErrorCode()),
                  "The name org.freedesktop.login1 was not provided by any .service files")
            << c.call;
        expected.push_back(c.call);
    }

    WaitForFile(log, [&](const std::string& text) { return LogindCalls(text).size() >= expected.size(); });
    EXPECT_EQ(LogindCalls(ReadFile(log)), expected);
}

} // namespace
