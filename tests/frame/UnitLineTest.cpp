// The virtual unit on each kind of line, a pseudo-terminal and the in-process line Windows uses
// for --simulate: the same frame logs in, reads, writes and hears of the unplug through either.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "serial/SerialPort.h"
#include "settings/Labels.h"
#include "sim/VirtualUnitHost.h"
#include "tests/frame/EngineTestSupport.h"

namespace {

using enginetest::Occurrences;
using enginetest::RecordingFrame;
using enginetest::WaitUntil;

TEST(UnitLine, TheFrameWorksTheUnitOnEitherLine) {
    const struct {
        const char* name;
        sim::UnitLine line;
    } cases[] = {{"pseudo-terminal", sim::UnitLine::Pty}, {"in-process", sim::UnitLine::InProcess}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::UnitOptions options;
        options.start = sim::UnitStart::Configuration;
        sim::VirtualUnitHost host(options, c.line);
        std::string error;
        ASSERT_TRUE(host.Start(&error)) << error;
        enginetest::RecordingDialogs dialogs;
        ui::ScopedDialogs scopedDialogs{&dialogs};
        RecordingFrame frame;
        frame.extraPorts = {host.DevicePath()};
        ASSERT_TRUE(frame.Open() && frame.StartWorker());
        ASSERT_TRUE(frame.Select("BaudRate1", "115200"));
        frame.Click("Open");
        ASSERT_TRUE(frame.serialPort.IsOpen()) << frame.log;

        // The line is the port's alone while it is open.
        CSerialPort second;
        EXPECT_FALSE(second.OpenPort(nullptr, host.DevicePath(), 115200, 'N', 8, 1, EV_RXCHAR, 64));
        EXPECT_EQ(second.LastOpenFailure().kind, serial::PortError::Busy);

        frame.Click("Login");
        ASSERT_TRUE(WaitUntil([&] { return frame.loggedIn.load(); }, 3000)) << frame.log;
        frame.Click("Load");
        ASSERT_TRUE(WaitUntil([&] { return frame.parsed.size() == 1; }, 5000)) << frame.log;
        EXPECT_NE(frame.parsed[0].find("Access Point Name:"), std::string::npos);
        frame.jobQueue.PushJob(
            {JobType::WriteParameter, "AT+DNSSVR=10.0.0.53\r\n", "Dns Server's Ip", "10.0.0.53"});
        ASSERT_TRUE(WaitUntil(
            [&] { return Occurrences(frame.log, enginetest::kSaveSuccessLabel) == 1; }, 3000))
            << frame.log;
        EXPECT_EQ(host.StoredValue("AT+DNSSVR"), std::optional<std::string>("10.0.0.53"));

        // The frame closes a lost port and says so.
        const std::string lost = LabelText("OnStartCom", "LostNotice").str();
        ASSERT_FALSE(lost.empty());
        host.Unplug();
        EXPECT_TRUE(WaitUntil([&] { return !frame.serialPort.IsOpen(); }, 3000)) << frame.log;
        EXPECT_EQ(Occurrences(frame.log, lost), 1) << frame.log;
    }
}

}  // namespace
