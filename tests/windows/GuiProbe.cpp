// A program linked the way the runtime is (static, stripped, GUI subsystem, wide entry point, the
// runtime's resources and manifest). Exit code 0 when its resources, threads and arguments work.
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

namespace {

bool HasResource(const wchar_t* name, const wchar_t* type) {
    HRSRC found = FindResourceW(nullptr, name, type);
    return found != nullptr && SizeofResource(nullptr, found) > 0;
}

} // namespace

// The one argument is the text "grüße ☃ 😀", which only the wide entry point receives whole.
int wmain(int argc, wchar_t** argv) {
    int failures = 0;
    auto check = [&](bool ok, const char* what) {
        if (!ok) {
            std::fprintf(stderr, "failed: %s\n", what);
            ++failures;
        }
    };
    check(HasResource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)), "manifest resource");
    check(HasResource(L"CRV_EXTERNAL_JAVASCRIPT", MAKEINTRESOURCEW(10)), "bridge script resource");
    check(HasResource(L"CRV_KEY_16", MAKEINTRESOURCEW(10)), "key picture resource");
    check(HasResource(L"MAINICON", MAKEINTRESOURCEW(14)), "main icon group");
    check(HasResource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), "version block");
    check(argc == 2 && std::wstring(argv[1]) == L"gr\u00fc\u00dfe \u2603 \U0001F600", "wide argument");
    // Threads come from the statically linked thread library.
    int fromThread = 0;
    std::thread([&] { fromThread = 42; }).join();
    check(fromThread == 42, "std::thread");
    return failures;
}
