// Why a listed port cannot be used, found without opening it: the device's permissions against
// the user's groups, a lock file of a running program, a descriptor another process holds.
#include "serial/posix/PortAccess.h"
#include "serial/posix/PortOwnership.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/serial/PtyHelpers.h"
#include "tests/support/TestPaths.h"

using namespace serialtest;

namespace {

namespace fs = std::filesystem;

enum class Other { None, RunningLock, StaleLock, OpenDescriptor };

std::string LockText(int pid) {
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", pid);
    return text;
}

TEST(PortAccess, PermissionAndHoldersAreFoundWithoutOpening) {
    const unsigned me = getuid();
    const unsigned myGroup = getgid();
    const unsigned stranger = 4000000;
    const std::string myGroupName = getgrgid(myGroup) ? getgrgid(myGroup)->gr_name : "";
    HoldingProcess sleeper(STDIN_FILENO);
    ASSERT_GT(sleeper.pid, 0);
    const struct {
        const char* what;
        mode_t mode;
        serial::UserIdentity user;
        Other other;
        serial::PortUse use;
        const char* program;  // the holder named, for InUse
    } cases[] = {
        {"open to all", 0666, {stranger, {}}, Other::None, serial::PortUse::Free, ""},
        {"the owner's", 0600, {me, {}}, Other::None, serial::PortUse::Free, ""},
        {"a member of its group",
         0660,
         {stranger, {7, myGroup}},
         Other::None,
         serial::PortUse::Free,
         ""},
        {"outside its group",
         0660,
         {stranger, {7}},
         Other::None,
         serial::PortUse::NoPermission,
         ""},
        {"group may only read",
         0640,
         {stranger, {myGroup}},
         Other::None,
         serial::PortUse::NoPermission,
         ""},
        {"root", 0600, {0, {}}, Other::None, serial::PortUse::Free, ""},
        {"locked by a running program",
         0666,
         {me, {}},
         Other::RunningLock,
         serial::PortUse::InUse,
         "sleep"},
        {"a stale lock", 0666, {me, {}}, Other::StaleLock, serial::PortUse::Free, ""},
        {"open in a terminal program",
         0666,
         {me, {}},
         Other::OpenDescriptor,
         serial::PortUse::InUse,
         "minicom"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path root = testpaths::TempDir();
        const std::string device = (root / "ttyUSB0").string();
        testpaths::WriteFile(device, "");
        ASSERT_EQ(chmod(device.c_str(), c.mode), 0);
        serial::OwnershipRoots roots{(root / "lock").string(), (root / "proc").string()};
        fs::create_directories(roots.lockDir);
        fs::create_directories(roots.procRoot);
        const std::string lockPath = serial::LockFilePath(roots.lockDir, device);
        int pid = 0;
        switch (c.other) {
            case Other::None:
                break;
            case Other::RunningLock:
                pid = sleeper.pid;
                testpaths::WriteFile(lockPath, LockText(pid));
                fs::create_directories(root / "proc" / std::to_string(pid));
                testpaths::WriteFile(roots.procRoot + "/" + std::to_string(pid) + "/comm",
                                     "sleep\n");
                break;
            case Other::StaleLock:
                testpaths::WriteFile(lockPath, LockText(EndedProcessPid()));
                break;
            case Other::OpenDescriptor:
                pid = 4242;
                fs::create_directories(root / "proc/4242/fd");
                fs::create_symlink(device, root / "proc/4242/fd/3");
                testpaths::WriteFile(roots.procRoot + "/4242/comm", "minicom\n");
                break;
        }

        const serial::PortAccess access = serial::CheckPortAccess(device, c.user, roots);
        EXPECT_EQ(access.use, c.use);
        if (c.use == serial::PortUse::NoPermission) {
            EXPECT_EQ(access.group, myGroupName);
        }
        if (c.use == serial::PortUse::InUse) {
            EXPECT_EQ(access.holder.pid, pid);
            EXPECT_EQ(access.holder.program, c.program);
        }
        if (c.other == Other::RunningLock) {
            EXPECT_EQ(testpaths::ReadFile(lockPath), LockText(pid)) << "only looked at";
        }
    }
}

}  // namespace
