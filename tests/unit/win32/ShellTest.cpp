// Tests of the shell on Windows: opening programs with arguments, refusals with the system's
// code, shortcut targets, and the program's own resources (the runtime's resource script is
// linked in).
#include "platform/Shell.h"
#include "platform/Process.h"
#include "platform/Resources.h"
#include "platform/Shortcuts.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "Win32TestFiles.h"

namespace {

using Platform::Win32::Widen;
using Win32TestFiles::ReadAll;
using Win32TestFiles::TTempDir;
using Win32TestFiles::WriteAll;

bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 100; ++i) {
        if (GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(50);
    }
    return false;
}

TEST(Shell, StartsAProgramWithItsArguments) {
    TTempDir dir;
    const std::string out = dir / "out.txt";
    ASSERT_EQ(out.find(' '), std::string::npos) << "the command below needs a path without spaces";
    ASSERT_TRUE(Platform::ShellOpen("cmd.exe", {"/C", "echo", "started>", out}));
    ASSERT_TRUE(WaitForFile(out));
    Sleep(200);
    EXPECT_EQ(ReadAll(out), "started\r\n");
}

TEST(Shell, MissingFileIsRefusedWithTheSystemsCode) {
    EXPECT_FALSE(Platform::ShellOpen("C:\\crv\\no\\such\\file.txt", {}));
    const int code = Platform::LastErrorCode();
    EXPECT_TRUE(code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) << code;
    EXPECT_FALSE(Platform::SysErrorMessage(code).empty());
}

void SaveShellLink(const std::string& link, const std::string& target) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* shellLink = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&shellLink))));
    shellLink->SetPath(Widen(target).c_str());
    IPersistFile* file = nullptr;
    shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    EXPECT_TRUE(SUCCEEDED(file->Save(Widen(link).c_str(), TRUE)));
    file->Release();
    shellLink->Release();
    CoUninitialize();
}

TEST(Shortcuts, ShellLinksAndInternetShortcuts) {
    TTempDir dir;
    const std::string target = dir / "target file.txt";
    WriteAll(target, "x");
    SaveShellLink(dir / "to target.lnk", target);
    EXPECT_EQ(Platform::ShortcutTarget(dir / "to target.lnk"), target);
    EXPECT_EQ(Platform::ShortcutTarget(dir / "TO TARGET.LNK"), target);

    WriteAll(dir / "site.url", "[InternetShortcut]\r\nURL=https://example.org/a?b=c\r\n");
    EXPECT_EQ(Platform::ShortcutTarget(dir / "site.url"), "https://example.org/a?b=c");

    WriteAll(dir / "not a link.lnk", "plain text");
    EXPECT_EQ(Platform::ShortcutTarget(dir / "not a link.lnk"), "");
    EXPECT_EQ(Platform::ShortcutTarget(target), "");
    EXPECT_EQ(Platform::ShortcutTarget(dir / "missing.lnk"), "");
}

TEST(Resources, NamedDataOfTheProgram) {
    const std::string_view script = Platform::ProgramResource("CRV_EXTERNAL_JAVASCRIPT");
    EXPECT_NE(script.find("window.crv"), std::string_view::npos);
    EXPECT_EQ(Platform::ProgramResource("CRV_KEY_16").substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_TRUE(Platform::ProgramResource("CRV_NO_SUCH_RESOURCE").empty());
}

} // namespace
