// The Win32 serial backend through CSerialPort, under wine, against a pseudo-terminal that wine
// shows as the COM port DTU_TEST_COM, whose far end tests/wine/serial_peer.py plays: "#SEND n"
// asks it for n bytes, "#HANGUP" unplugs the line. What wine cannot show (line errors, a write
// that waits for room, a port held by another program: wine lets two open one COM port) is
// covered by the Linux serial tests only.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "serial/SerialPort.h"
#include "tests/support/Dialogs.h"
#include "tests/support/EventLoop.h"
#include "ui/Dialogs.h"
#include "ui/Window.h"

namespace {

using testsupport::ProcessCpuMs;
using testsupport::RunEventsFor;
using testsupport::WaitUntil;

constexpr UINT kAppMask = EV_RXCHAR | EV_CTS;

std::string TestPort() {
    const char* port = std::getenv("DTU_TEST_COM");
    return port ? port : "";
}

// The peer's pattern: every byte value, in an order that shows a dropped or moved byte.
std::string Pattern(size_t length) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

class RecordingOwner : public CWindowWnd {
  public:
    RecordingOwner() { Create(nullptr, "owner", 0, 0, 0, 0, 10, 10); }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kMsgReceived) {
            blocks.emplace_back(reinterpret_cast<const char*>(wParam), static_cast<size_t>(lParam));
        }
        if (msg == kMsgReceived || msg == kMsgCts || msg == kMsgPortLost) messages.push_back(msg);
        return 0;
    }
    std::string Received() const {
        std::string all;
        for (const std::string& block : blocks) all += block;
        return all;
    }
    int CountOf(UINT msg) const {
        int n = 0;
        for (UINT m : messages) n += m == msg;
        return n;
    }
    std::vector<UINT> messages;
    std::vector<std::string> blocks;
};

class Win32Serial : public ::testing::Test {
  protected:
    void SetUp() override {
        if (TestPort().empty()) GTEST_SKIP() << "DTU_TEST_COM names no COM port with a peer";
    }
    bool Open(UINT mask = kAppMask) {
        return port.OpenPort(&owner, TestPort(), 115200, 'N', 8, 1, mask, 8192);
    }
    // A request to the peer, written through the port under test.
    void Ask(const std::string& request) {
        const std::string line = "#" + request + "\n";
        ASSERT_EQ(port.WriteBytes(line.data(), static_cast<UINT>(line.size())), line.size());
    }

    testsupport::RecordingDialogs dialogs;
    ui::ScopedDialogs scoped{&dialogs};
    RecordingOwner owner;
    CSerialPort port;  // last: closed before the owner goes
};

TEST_F(Win32Serial, OpenFailsByReasonAndARefusedSettingLeavesNothingOpen) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(port.PortNumber(), static_cast<UINT>(std::atoi(TestPort().c_str() + 3)));
    const struct {
        std::string device;
        char parity;
        UINT dataBits;
        serial::PortError kind;
        const char* step;
    } rows[] = {
        {"COM250", 'N', 8, serial::PortError::NotFound, ""},
        {TestPort(), 'N', 8, serial::PortError::Busy, ""},
        {"\\\\.\\" + TestPort(), 'N', 8, serial::PortError::Busy, ""},
    };
    // Wine does not keep a COM port to its first opener; Windows does.
    const bool exclusive = !std::getenv("DTU_UNDER_WINE");
    for (const auto& row : rows) {
        if (row.kind == serial::PortError::Busy && !exclusive) continue;
        CSerialPort other;
        EXPECT_FALSE(
            other.OpenPort(&owner, row.device, 9600, row.parity, row.dataBits, 1, kAppMask, 64))
            << row.device;
        EXPECT_FALSE(other.IsOpen());
        EXPECT_EQ(other.LastOpenFailure().kind, row.kind) << other.LastOpenError();
        EXPECT_EQ(other.LastOpenFailure().step, row.step) << other.LastOpenError();
    }
    port.Close();
    // The port is free again, and a setting the line refuses closes it at once.
    EXPECT_FALSE(port.OpenPort(&owner, "\\\\.\\" + TestPort(), 9600, 'X', 8, 1, kAppMask, 64));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.LastOpenFailure().step, "BuildCommDCB()");
    EXPECT_TRUE(port.OpenPort(&owner, "\\\\.\\" + TestPort(), 9600, 'E', 7, 2, kAppMask, 64))
        << port.LastOpenError();
}

TEST_F(Win32Serial, FiveThousandQueuedBytesComeAsAFullBlockThenTheRestInOrder) {
    ASSERT_TRUE(Open());
    Ask("SEND 5000");
    // The peer answers at once; the bytes wait in the port until the monitor starts.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    ASSERT_TRUE(port.StartMonitor());
    ASSERT_TRUE(WaitUntil([&] { return owner.Received().size() >= 5000; }, 5000))
        << owner.Received().size();
    EXPECT_EQ(owner.blocks[0].size(), CSerialPort::kMaxBlock);
    EXPECT_EQ(owner.Received(), Pattern(5000));
    // EV_CTS is in the mask: each wake tells the owner before the block.
    EXPECT_EQ(owner.messages[0], kMsgCts);
    EXPECT_GE(owner.CountOf(kMsgCts), owner.CountOf(kMsgReceived));
}

TEST_F(Win32Serial, WritesOnAClosedPortReturnZero) {
    EXPECT_EQ(port.WriteBytes("AT\r\n", 4), 0u);
    ASSERT_TRUE(Open());
    port.Close();
    EXPECT_EQ(port.WriteBytes("AT\r\n", 4), 0u);
}

TEST_F(Win32Serial, AnUnpluggedLineIsReportedOnceAndNothingSpins) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(port.StartMonitor());
    QElapsedTimer clock;
    clock.start();
    Ask("HANGUP");
    ASSERT_TRUE(WaitUntil([&] { return owner.CountOf(kMsgPortLost) > 0; }, 5000));
    EXPECT_LT(clock.elapsed(), 3000);
    const double cpuBefore = ProcessCpuMs();
    RunEventsFor(500);
    EXPECT_LT(ProcessCpuMs() - cpuBefore, 150.0) << "something spins after the loss";
    EXPECT_EQ(owner.CountOf(kMsgPortLost), 1);
    EXPECT_EQ(owner.messages.back(), kMsgPortLost);
    port.Close();
}

TEST_F(Win32Serial, CloseReturnsWhileTheMonitorWaitsInItsSend) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(port.StartMonitor());
    // The monitor's send of 1026 waits for this thread, which runs no events meanwhile.
    Ask("SEND 12");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    QElapsedTimer clock;
    clock.start();
    port.Close();
    EXPECT_LT(clock.elapsed(), 5000) << "Close waited for a send that cannot end";
    RunEventsFor(50);
    EXPECT_TRUE(owner.messages.empty()) << "a send ran after Close";
}

}  // namespace
