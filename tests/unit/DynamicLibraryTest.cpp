// Libraries loaded at run time bind to their own dependencies first, as a DLL binds to the DLLs it
// names, unless something is preloaded into the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/DynamicLibrary.h"

extern "C" int crv_binding_which(void);

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

const std::filesystem::path kLibrary = std::filesystem::path(CRV_TEST_FIXTURE_DIR) / "binding" / "library.so";

// The answer of the fixture library loaded from path: 2 from its own dependency, 1 from the program's.
int AskLoaded(const std::filesystem::path& path) {
    Platform::TDynamicLibrary library;
    EXPECT_TRUE(library.Load(path.string())) << library.Error();
    const auto ask = reinterpret_cast<int (*)()>(library.Symbol("crv_binding_ask"));
    return ask ? ask() : 0;
}

class DynamicLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* preload = std::getenv("LD_PRELOAD"); preload && *preload)
            GTEST_SKIP() << "the tests run with LD_PRELOAD set";
        if (std::filesystem::exists("/etc/ld.so.preload"))
            GTEST_SKIP() << "this system preloads libraries into every program";
        ASSERT_EQ(crv_binding_which(), 1) << "the program's own definition";
    }
};

TEST_F(DynamicLibrary, LoadedLibraryCallsItsOwnDependency) {
    // The address sanitizer refuses own-first loads: there the usual order stays, and nothing aborts.
    EXPECT_EQ(AskLoaded(kLibrary), kSanitized ? 1 : 2);
}

TEST_F(DynamicLibrary, WithSomethingPreloadedTheProgramsDefinitionWins) {
    // A second copy of the file: the loader would hand back the library loaded by another test.
    const auto copy = std::filesystem::path(testing::TempDir()) / "binding-library-copy.so";
    std::filesystem::copy_file(kLibrary, copy, std::filesystem::copy_options::overwrite_existing);
    setenv("LD_PRELOAD", "libc.so.6", 1);
    const int answer = AskLoaded(copy);
    unsetenv("LD_PRELOAD");
    std::filesystem::remove(copy);
    EXPECT_EQ(answer, 1);
}

} // namespace
