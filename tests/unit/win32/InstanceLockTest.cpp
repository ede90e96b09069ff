// Tests of the named lock across processes: a second holder learns it exists, and the lock goes
// with the process that held it.
#include "platform/InstanceLock.h"

#include <gtest/gtest.h>

#include "SelfChild.h"
#include "platform/Spawn.h"

namespace {

// In the child: takes the lock named by the task and ends with the result as exit code.
TEST(InstanceLockChild, TakeLock) {
    const std::string name = SelfChild::Task();
    if (name.empty()) GTEST_SKIP() << "only run as a child";
    Platform::ExitProcess(10 + static_cast<int>(Platform::CreateNamedLock(name)));
}

int LockInChild(const std::string& name) {
    SelfChild::TTask task(name);
    return Platform::RunHiddenAndWait(SelfChild::Command("InstanceLockChild.TakeLock")).value_or(-1);
}

std::string UniqueName(const char* what) {
    return std::string("crv-test-") + what + "-" + std::to_string(GetCurrentProcessId());
}

TEST(InstanceLock, SecondProcessFindsItTaken) {
    const std::string name = UniqueName("taken");
    ASSERT_EQ(Platform::CreateNamedLock(name), Platform::TLockResult::Acquired);
    EXPECT_EQ(LockInChild(name), 10 + static_cast<int>(Platform::TLockResult::AlreadyExists));
    // Another name is still free.
    EXPECT_EQ(LockInChild(name + "-other"), 10 + static_cast<int>(Platform::TLockResult::Acquired));
}

TEST(InstanceLock, EndsWithItsHolder) {
    const std::string name = UniqueName("released");
    EXPECT_EQ(LockInChild(name), 10 + static_cast<int>(Platform::TLockResult::Acquired));
    EXPECT_EQ(Platform::CreateNamedLock(name), Platform::TLockResult::Acquired);
    EXPECT_EQ(Platform::CreateNamedLock(name), Platform::TLockResult::AlreadyExists);
}

TEST(InstanceLock, NameTheSystemRefuses) {
    // A backslash would name a namespace that does not exist.
    EXPECT_EQ(Platform::CreateNamedLock("no\\such\\namespace"), Platform::TLockResult::Failed);
}

} // namespace
