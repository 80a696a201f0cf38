#include <gtest/gtest.h>
#include <termios.h>

#include <QElapsedTimer>
#include <atomic>
#include <thread>

#include "serial/SerialPort.h"
#include "tests/serial/PtyHelpers.h"

using namespace serialtest;

namespace {

constexpr UINT kAppMask = EV_RXCHAR | EV_CTS;

// Every byte value, zero included, in a pattern that shows a dropped or moved byte.
std::string Pattern(size_t length) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

class SerialPortTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(pty.ok()) << "no pseudo-terminal"; }

    bool Open(UINT baud = 115200, UINT mask = kAppMask) {
        return port.OpenPort(&owner, pty.slavePath, baud, 'N', 8, 1, mask, 8192);
    }

    Pty pty;
    RecordingOwner owner;
    CSerialPort port;  // declared last: closed before the owner and the pty go
};

TEST_F(SerialPortTest, DeliversAQueueLargerThanABlockAsAFullBlockThenTheRestInOrder) {
    ASSERT_TRUE(Open());
    const std::string sent = Pattern(5000);
    pty.Send(sent);
    ASSERT_TRUE(WaitForQueue(
        pty, [](int q) { return q >= 4095; }, 2000));
    ASSERT_TRUE(port.StartMonitor());

    ASSERT_TRUE(WaitUntil([&] { return owner.Received().size() >= sent.size(); }, 3000));
    ASSERT_GE(owner.blocks.size(), 2u);
    EXPECT_EQ(owner.blocks[0].size(), 4095u);
    for (const auto& block : owner.blocks) EXPECT_LE(block.size(), CSerialPort::kMaxBlock);
    EXPECT_EQ(owner.Received(), sent);
    // The mask holds EV_CTS: each wake tells the owner before it hands over the block.
    ASSERT_GE(owner.messages.size(), 2u);
    EXPECT_EQ(owner.messages[0], kMsgCts);
    EXPECT_EQ(owner.messages[1], kMsgReceived);
    EXPECT_EQ(owner.CountOf(kMsgCts), owner.CountOf(kMsgReceived));
}

TEST_F(SerialPortTest, OpenFailsForAMissingDeviceAndForAPortAlreadyHeld) {
    ASSERT_TRUE(Open());
    struct Row {
        std::string device;
        const char* errorWords;
    };
    const Row rows[] = {
        {"/dev/ttyDoesNotExist7", "not found"},
        {pty.slavePath, "in use"},
    };
    for (const Row& row : rows) {
        CSerialPort other;
        EXPECT_FALSE(other.OpenPort(&owner, row.device, 9600, 'N', 8, 1, kAppMask, 8192))
            << row.device;
        EXPECT_FALSE(other.IsOpen()) << row.device;
        EXPECT_NE(other.LastOpenError().find(row.errorWords), std::string::npos)
            << other.LastOpenError();
    }
    EXPECT_TRUE(port.IsOpen());
}

// A pseudo-terminal keeps the speed, stop bits, PARODD and CMSPAR it is given, but its driver
// forces CS8 and clears PARENB (it has no wire); those two are checked in LineSettingsTest.
TEST_F(SerialPortTest, ConfigurationTextSetsTheLine) {
    struct Row {
        UINT baud;
        char parity;
        UINT data;
        UINT stop;
        speed_t speed;
        tcflag_t oddAndSticky;  // of PARODD | CMSPAR
        bool twoStop;
    };
    const Row rows[] = {
        {9600, 'N', 8, 1, B9600, 0, false},
        {115200, 'E', 7, 2, B115200, 0, true},
        {2400, 'O', 8, 1, B2400, PARODD, false},
        {19200, 'M', 7, 1, B19200, PARODD | CMSPAR, false},
        {57600, 'S', 6, 2, B57600, CMSPAR, true},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(port.OpenPort(&owner, pty.slavePath, row.baud, row.parity, row.data, row.stop,
                                  kAppMask, 8192));
        termios t{};
        ASSERT_EQ(tcgetattr(pty.slaveFd, &t), 0);
        EXPECT_EQ(cfgetospeed(&t), row.speed) << row.baud;
        EXPECT_EQ(cfgetispeed(&t), row.speed) << row.baud;
        EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR), row.oddAndSticky) << row.parity;
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, row.twoStop) << row.baud;
        EXPECT_TRUE(t.c_cflag & CLOCAL);
        EXPECT_TRUE(t.c_cflag & CREAD);
        EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
        EXPECT_FALSE(t.c_iflag & (ICRNL | IXON));
        EXPECT_FALSE(t.c_oflag & OPOST);
    }
}

TEST_F(SerialPortTest, RefusedSettingsCloseThePortAndNameTheStep) {
    RecordingDialogs dialogs;
    ui::ScopedDialogs scoped(&dialogs);
    struct Row {
        std::string device;
        UINT baud;
        char parity;
        UINT data;
        UINT stop;
        const char* step;
    };
    const Row rows[] = {
        {pty.slavePath, 9600, 'X', 8, 1, "BuildCommDCB()"},
        {pty.slavePath, 9600, 'N', 9, 1, "BuildCommDCB()"},
        {pty.slavePath, 9600, 'N', 8, 0, "BuildCommDCB()"},
        {pty.slavePath, 0, 'N', 8, 1, "BuildCommDCB()"},
        {pty.slavePath, 9600, 'N', 5, 2, "SetCommState()"},
        {"/dev/null", 9600, 'N', 8, 1, "GetCommState()"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.step);
        EXPECT_FALSE(port.OpenPort(&owner, row.device, row.baud, row.parity, row.data, row.stop,
                                   kAppMask, 8192));
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(port.LastOpenFailure().step, row.step);
        EXPECT_NE(port.LastOpenError().find(row.step), std::string::npos) << port.LastOpenError();
        // Closed for good: another port object may take the device at once.
        CSerialPort other;
        EXPECT_TRUE(other.OpenPort(&owner, pty.slavePath, 9600, 'N', 8, 1, kAppMask, 64));
    }
    EXPECT_TRUE(dialogs.boxes.empty()) << "the log says why; no box";
}

TEST_F(SerialPortTest, PortNumberIsTheDevicesTrailingNumber) {
    ASSERT_TRUE(Open());
    const std::string digits = pty.slavePath.substr(pty.slavePath.find_last_of('/') + 1);
    EXPECT_EQ(port.PortNumber(), static_cast<UINT>(std::stoul(digits)));
}

TEST_F(SerialPortTest, WriteBytesSendsExactlyTheBytes) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(port.StartMonitor());
    const std::string command = std::string("AT+SHOW\r\n") + '\0' + "\xff\x80" + "x";
    EXPECT_EQ(port.WriteBytes(command.data(), static_cast<UINT>(command.size())), command.size());
    EXPECT_EQ(pty.Receive(command.size() + 1, 300), command);

    // More than the kernel takes at once: the write waits for room until the unit reads.
    const std::string big = Pattern(200000);
    std::string got;
    std::thread unit([&] { got = pty.Receive(big.size(), 10000); });
    EXPECT_EQ(port.WriteBytes(big.data(), static_cast<UINT>(big.size())), big.size());
    unit.join();
    EXPECT_EQ(got, big);
}

TEST_F(SerialPortTest, WriteBytesGivesUpWhenTheLineDoesNotDrain) {
    ASSERT_TRUE(Open(4000000));
    const std::string big = Pattern(100000);  // the unit never reads: the pty fills up
    QElapsedTimer clock;
    clock.start();
    UINT written = port.WriteBytes(big.data(), static_cast<UINT>(big.size()));
    EXPECT_LT(written, big.size());
    // 100000 bytes at 4 Mbaud take 300 ms; a second more is allowed, then it gives up.
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_LT(clock.elapsed(), 10000);
}

TEST_F(SerialPortTest, WritesOnAClosedPortReturnZero) {
    EXPECT_EQ(port.WriteBytes("AT\r\n", 4), 0u);
    ASSERT_TRUE(Open());
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.WriteBytes("AT\r\n", 4), 0u);
    port.QueueWrite(std::string("AT\r\n"));
    EXPECT_EQ(pty.Receive(4, 100), "");
}

TEST_F(SerialPortTest, QueuedWritesGoOutThroughTheMonitorAndOversizeIsRefused) {
    ASSERT_TRUE(port.OpenPort(&owner, pty.slavePath, 115200, 'N', 8, 1, kAppMask, 16));
    ASSERT_TRUE(port.StartMonitor());
    port.QueueWrite(std::string(17, 'x'));  // one byte over the buffer: refused, not cut
    port.QueueWrite(std::string("AT+VER\r\n"));
    EXPECT_EQ(pty.Receive(9, 3000), "AT+VER\r\n");
}

TEST_F(SerialPortTest, ALostDeviceIsReportedOnceAndTheMonitorStops) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(port.StartMonitor());
    pty.Send(Pattern(3000));
    pty.CloseMaster();

    QElapsedTimer clock;
    clock.start();
    // Noticed from the hang-up itself; nothing else would notice it at all.
    ASSERT_TRUE(WaitUntil([&] { return !owner.lostLParams.empty(); }, 5000));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(owner.lostLParams[0], static_cast<LPARAM>(port.PortNumber()));

    const double cpuBefore = ProcessCpuMs();
    RunEventsFor(500);
    // A spinning monitor would burn most of the half second.
    EXPECT_LT(ProcessCpuMs() - cpuBefore, 150.0) << "something spins after the hang-up";
    EXPECT_EQ(owner.lostLParams.size(), 1u);
    EXPECT_EQ(owner.messages.back(), kMsgPortLost) << "nothing may follow the loss";
    EXPECT_EQ(port.WriteBytes("AT\r\n", 4), 0u);
    port.Close();
}

TEST_F(SerialPortTest, CloseReturnsWhileTheMonitorWaitsInItsSend) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(port.StartMonitor());
    const std::string answer = "+CSQ: 20,0\r\n";
    pty.Send(answer);
    // With EV_CTS in the mask the monitor sends 1026 before it reads, and that send waits for
    // this thread, which runs no events: the bytes stay queued while the monitor is stuck.
    ASSERT_TRUE(WaitForQueue(
        pty, [&](int q) { return q == int(answer.size()); }, 2000));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the monitor wakes meanwhile

    QElapsedTimer clock;
    clock.start();
    port.Close();
    EXPECT_LT(clock.elapsed(), 5000) << "Close waited for a send that cannot end";
    RunEventsFor(50);
    EXPECT_TRUE(owner.messages.empty()) << "a send ran after Close";
    EXPECT_EQ(pty.QueuedAtPort(), int(answer.size())) << "the monitor read past its send";
}

TEST_F(SerialPortTest, CloseStopsAWriteThatWaitsForRoom) {
    ASSERT_TRUE(Open(9600));
    const std::string big = Pattern(200000);  // minutes at 9600 baud, and the unit never reads
    std::atomic<UINT> written{0};
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        written = port.WriteBytes(big.data(), static_cast<UINT>(big.size()));
        returned = true;
    });
    // The pty fills within microseconds; by then the writer waits for room that never comes.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    QElapsedTimer clock;
    clock.start();
    port.Close();
    worker.join();
    // The write alone would wait minutes for room at 9600 baud.
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(returned);
    EXPECT_LT(written.load(), big.size());
}

TEST_F(SerialPortTest, ReopeningClosesTheOldPortFirst) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(port.StartMonitor());
    Pty second;
    ASSERT_TRUE(second.ok());
    ASSERT_TRUE(port.OpenPort(&owner, second.slavePath, 9600, 'N', 8, 1, kAppMask, 8192));
    ASSERT_TRUE(port.StartMonitor());

    CSerialPort other;  // the first pty is free again
    EXPECT_TRUE(other.OpenPort(&owner, pty.slavePath, 9600, 'N', 8, 1, kAppMask, 8192));
    second.Send("OK\r\n");
    ASSERT_TRUE(WaitUntil([&] { return owner.Received() == "OK\r\n"; }, 2000));
}

TEST_F(SerialPortTest, DestroyingAMonitoredPortStopsItsMonitor) {
    auto temporary = std::make_unique<CSerialPort>();
    ASSERT_TRUE(temporary->OpenPort(&owner, pty.slavePath, 9600, 'N', 8, 1, kAppMask, 8192));
    ASSERT_TRUE(temporary->StartMonitor());
    pty.Send("late bytes\r\n");
    temporary.reset();  // no Close: the destructor must stop and join the monitor itself
    RunEventsFor(50);
    EXPECT_TRUE(port.OpenPort(&owner, pty.slavePath, 9600, 'N', 8, 1, kAppMask, 8192));
}

}  // namespace
