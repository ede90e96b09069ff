// Tests of the power actions' refusal. They never run for real: CRV_TEST_REFUSE_POWER=1 makes the
// backend refuse before it asks the system.
#include "platform/Session.h"
#include "platform/Process.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(Session, RefusalComesWithTheSystemsCodeAndText) {
    SetEnvironmentVariableW(L"CRV_TEST_REFUSE_POWER", L"1");
    wchar_t value[4] = {};
    ASSERT_EQ(GetEnvironmentVariableW(L"CRV_TEST_REFUSE_POWER", value, 4), 1u);
    ASSERT_EQ(value[0], L'1');
    for (const auto what :
         {Platform::TSessionEnd::Logoff, Platform::TSessionEnd::Reboot, Platform::TSessionEnd::Shutdown}) {
        ::SetLastError(0);
        EXPECT_FALSE(Platform::EndSession(what));
        EXPECT_EQ(Platform::LastErrorCode(), ERROR_ACCESS_DENIED);
        EXPECT_FALSE(Platform::SysErrorMessage(Platform::LastErrorCode()).empty());
    }
}

} // namespace
