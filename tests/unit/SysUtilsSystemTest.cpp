// Tests of the system utilities about the machine and the screen: names, text widths, icons of
// executables and synthetic key presses (the last only where a display is open).
#include "shared/IconFile.h"
#include "shared/SysUtils.h"

#include "PeFixtures.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

extern char** environ;

using Corvane::Shared::TSysUtils;
namespace fs = std::filesystem;

namespace {

TEST(MachineFacts, NamesOfTheComputerAndTheUser) {
    char host[HOST_NAME_MAX + 1] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(TSysUtils::GetComputerNetName(), host);
    EXPECT_FALSE(TSysUtils::GetComputerNetName().empty());

    const passwd* user = getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(TSysUtils::GetUserFromWindows(), user->pw_name);
}

TEST(TrueFontWidth, MeasuresAsTheFontDraws) {
    const TSysUtils::TFont font{"DejaVu Sans", 16, false, false};
    const int narrow = TSysUtils::TrueFontWidth(font, "iiii");
    const int wide = TSysUtils::TrueFontWidth(font, "WWWW");
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, narrow * 2);
    EXPECT_EQ(TSysUtils::TrueFontWidth(font, ""), 0);

    const int doubled = TSysUtils::TrueFontWidth({"DejaVu Sans", 32, false, false}, "WWWW");
    EXPECT_NEAR(doubled, wide * 2, wide / 5) << "the size is in pixels and scales the width";
    EXPECT_GT(TSysUtils::TrueFontWidth({"DejaVu Sans", 16, true, false}, "WWWW"), wide * 21 / 20);
    EXPECT_GT(TSysUtils::TrueFontWidth(font, "Grüße"), 0) << "UTF-8 text";
    EXPECT_GT(TSysUtils::TrueFontWidth({"No Such Family Here", 16, false, false}, "WWWW"), 0)
        << "a missing family is replaced, not refused";
    EXPECT_EQ(TSysUtils::TrueFontWidth({"DejaVu Sans", 0, false, false}, "W"), -1);
}

bool HasOpaquePixels(const TSysUtils::TBitmap& bitmap) {
    for (size_t i = 3; i < bitmap.Rgba.size(); i += 4)
        if (bitmap.Rgba[i] == 255) return true;
    return false;
}

TEST(ExtractExeIcon, IconFilesGiveTheImageNearestTheLargeIconSize) {
    const fs::path ico = fs::path(CRV_TEST_SOURCE_DIR) / ".." / "resources" / "crv.ico";
    TSysUtils::TBitmap bitmap;
    ASSERT_TRUE(TSysUtils::ExtractExeIcon(ico.string(), bitmap));
    EXPECT_EQ(bitmap.Width, 32);
    EXPECT_EQ(bitmap.Height, 32);
    EXPECT_EQ(bitmap.Rgba.size(), 32u * 32u * 4u);
    EXPECT_TRUE(HasOpaquePixels(bitmap));

    // An icon file of one compressed 256-pixel image.
    PeFixtures::TTempDir dir;
    const auto bytes = PeFixtures::ReadBytes(ico);
    const auto images = Corvane::Shared::ReadIconImages(bytes);
    const auto large = std::find_if(images.begin(), images.end(), [](const auto& image) {
        return image.Data.size() > 8 && image.Data[1] == 'P' && image.Data[2] == 'N' && image.Data[3] == 'G';
    });
    ASSERT_NE(large, images.end()) << "crv.ico keeps its 256-pixel image compressed";
    PeFixtures::TBytes single = PeFixtures::MakeIco({{0, 0}});
    single.resize(6 + 16);
    PeFixtures::Put32(single, 6 + 8, static_cast<std::uint32_t>(large->Data.size()));
    single.insert(single.end(), large->Data.begin(), large->Data.end());
    PeFixtures::WriteBytes(dir.Path() / "large.ico", single);
    ASSERT_TRUE(TSysUtils::ExtractExeIcon((dir.Path() / "large.ico").string(), bitmap));
    EXPECT_EQ(bitmap.Width, 256);
    EXPECT_EQ(bitmap.Height, 256);
    EXPECT_TRUE(HasOpaquePixels(bitmap));

    PeFixtures::WriteBytes(dir.Path() / "broken.ico", PeFixtures::MakeIco({{32, 40}}));
    TSysUtils::TBitmap untouched;
    EXPECT_FALSE(TSysUtils::ExtractExeIcon((dir.Path() / "broken.ico").string(), untouched));
    EXPECT_EQ(untouched.Width, 0);
}

TEST(ExtractExeIcon, ExecutablesWithAndWithoutIcons) {
    TSysUtils::TBitmap bitmap;
    EXPECT_FALSE(TSysUtils::ExtractExeIcon("/proc/self/exe", bitmap))
        << "this system's executables carry none";
    EXPECT_FALSE(TSysUtils::ExtractExeIcon("/nonexistent/file.exe", bitmap));
    CRV_NEED_FIXTURE(plain, "tiny.exe");
    EXPECT_FALSE(TSysUtils::ExtractExeIcon(plain.string(), bitmap));
    CRV_NEED_FIXTURE(withIcon, "tiny-res.exe");
    ASSERT_TRUE(TSysUtils::ExtractExeIcon(withIcon.string(), bitmap));
    EXPECT_EQ(bitmap.Width, 32);
    EXPECT_EQ(bitmap.Height, 32);
    EXPECT_TRUE(HasOpaquePixels(bitmap));
}

// A key press reaches the focused window of another program: a key-event reporter started here.
TEST(PressKey, ReachesTheFocusedWindow) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    if (access("/usr/bin/xev", X_OK) != 0 || access("/usr/bin/xdotool", X_OK) != 0)
        GTEST_SKIP() << "xev and xdotool are needed";
    EXPECT_FALSE(TSysUtils::PressKey(0xFF)) << "a code without a key";

    PeFixtures::TTempDir dir;
    const std::string log = (dir.Path() / "xev.log").string();
    const std::string script = "exec xev -name crv-presskey-probe -event keyboard > '" + log + "'";
    const char* argv[] = {"sh", "-c", script.c_str(), nullptr};
    pid_t xev = 0;
    ASSERT_EQ(posix_spawnp(&xev, "sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
    const auto read = [&] {
        std::ifstream in(log);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    bool focused = false;
    for (int i = 0; i < 100 && !focused; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        focused = std::system("timeout 5 xdotool search --name '^crv-presskey-probe$' windowfocus --sync "
                              ">/dev/null 2>&1") == 0;
    }
    bool pressed = false;
    if (focused) {
        EXPECT_TRUE(TSysUtils::PressKey('Q'));
        for (int i = 0; i < 100 && !pressed; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            const std::string seen = read();
            pressed = seen.find("KeyRelease") != std::string::npos &&
                      seen.find("(keysym 0x71, q)") != std::string::npos;
        }
    }
    kill(xev, SIGTERM);
    waitpid(xev, nullptr, 0);
    ASSERT_TRUE(focused) << "the reporter window did not take the focus";
    EXPECT_TRUE(pressed) << read();
}

} // namespace
