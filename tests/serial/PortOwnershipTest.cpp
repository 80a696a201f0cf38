// Ports other programs have: lock files taken, honoured, taken over and given back, and
// programs attached without a lock found among the processes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "serial/SerialPort.h"
#include "serial/posix/PortOwnership.h"
#include "tests/serial/PtyHelpers.h"
#include "tests/support/TestPaths.h"

using namespace serialtest;

namespace {

constexpr UINT kAppMask = EV_RXCHAR | EV_CTS;

std::string LockText(int pid) {
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", pid);
    return text;
}

class PortOwnershipTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        roots.lockDir = testpaths::TempDir();
        port.SetOwnershipRoots(roots);
        lockPath = serial::LockFilePath(roots.lockDir, pty.slavePath);
    }
    bool Open() { return port.OpenPort(&owner, pty.slavePath, 9600, 'N', 8, 1, kAppMask, 64); }
    bool LockExists() const { return std::filesystem::exists(lockPath); }

    Pty pty;
    RecordingOwner owner;
    serial::OwnershipRoots roots;
    std::string lockPath;
    CSerialPort port;
};

TEST_F(PortOwnershipTest, LockFileIsCreatedAndRemovedOnCloseAndOnLoss) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(testpaths::ReadFile(lockPath), LockText(getpid()));
    port.Close();
    EXPECT_FALSE(LockExists());

    ASSERT_TRUE(Open());
    ASSERT_TRUE(port.StartMonitor());
    ASSERT_TRUE(LockExists());
    pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return !owner.lostLParams.empty(); }, 3000));
    EXPECT_FALSE(LockExists()) << "the lock outlived the device";
}

TEST_F(PortOwnershipTest, LocksOfRunningProgramsAreHonouredAndStaleOnesTakenOver) {
    const int nullFd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    HoldingProcess other(nullFd);
    close(nullFd);
    ASSERT_GT(other.pid, 0);
    const struct {
        const char* what;
        std::string lockText;
        bool opens;
    } cases[] = {
        {"lock of a running program", LockText(other.pid), false},
        {"lock of an ended program", LockText(EndedProcessPid()), true},
        {"lock holding no number", "garbage\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testpaths::WriteFile(lockPath, c.lockText);
        EXPECT_EQ(Open(), c.opens);
        if (c.opens) {
            EXPECT_EQ(testpaths::ReadFile(lockPath), LockText(getpid()));
            port.Close();
            EXPECT_FALSE(LockExists());
        } else {
            EXPECT_EQ(port.LastOpenFailure().kind, serial::PortError::Busy);
            EXPECT_EQ(port.LastOpenFailure().holder.pid, other.pid);
            EXPECT_EQ(port.LastOpenFailure().holder.program, "sleep");
            EXPECT_EQ(testpaths::ReadFile(lockPath), c.lockText) << "another's lock was touched";
            std::filesystem::remove(lockPath);
        }
    }
}

TEST_F(PortOwnershipTest, AProgramAttachedWithoutALockIsNamed) {
    {
        HoldingProcess terminal(pty.slaveFd);
        ASSERT_GT(terminal.pid, 0);
        ASSERT_TRUE(WaitUntil(
            [&] {
                serial::PortHolder seen;  // "sleep" once the child has started it
                return serial::FindPortHolder("/proc", pty.slavePath, &seen) &&
                       seen.program == "sleep";
            },
            3000));
        EXPECT_FALSE(Open());
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(port.LastOpenFailure().holder.pid, terminal.pid);
        EXPECT_EQ(port.LastOpenFailure().holder.program, "sleep");
        EXPECT_NE(port.LastOpenError().find("held by PID " + std::to_string(terminal.pid)),
                  std::string::npos)
            << port.LastOpenError();
        EXPECT_FALSE(LockExists());
    }
    EXPECT_TRUE(Open()) << port.LastOpenError();
}

// A process table of folders: a terminal program holds the port, the unit's far end holds its
// master as well and is no competitor.
TEST_F(PortOwnershipTest, HoldersAreFoundInTheProcessTableButNotThePtyPeer) {
    namespace fs = std::filesystem;
    const std::string index = pty.slavePath.substr(pty.slavePath.rfind('/') + 1);
    const struct {
        const char* what;
        bool withMaster;
        bool found;
    } cases[] = {
        {"a terminal program on the port", false, true},
        {"the far end of the pseudo-terminal", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path proc = testpaths::TempDir();
        fs::create_directories(proc / "4321/fd");
        fs::create_directories(proc / "4321/fdinfo");
        testpaths::WriteFile((proc / "4321/comm").string(), "minicom\n");
        fs::create_symlink(pty.slavePath, proc / "4321/fd/3");
        if (c.withMaster) {
            fs::create_symlink("/dev/ptmx", proc / "4321/fd/4");
            testpaths::WriteFile((proc / "4321/fdinfo/4").string(),
                                 "pos:\t0\nflags:\t02\ntty-index:\t" + index + "\n");
        }
        serial::PortHolder holder;
        EXPECT_EQ(serial::FindPortHolder(proc.string(), pty.slavePath, &holder), c.found);
        if (c.found) {
            EXPECT_EQ(holder.pid, 4321);
            EXPECT_EQ(holder.program, "minicom");
        }
    }
}

TEST(PortLockNames, DevicesBelowDevGiveOneFileName) {
    EXPECT_EQ(serial::LockFilePath("/run/lock", "/dev/ttyUSB0"), "/run/lock/LCK..ttyUSB0");
    EXPECT_EQ(serial::LockFilePath("/run/lock", "/dev/pts/7"), "/run/lock/LCK..pts_7");
}

}  // namespace
