// Another program holds the unit's port: the frame's Open fails, says so with the reason,
// writes nothing to the line, and opens the port once it is free again.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>

#include "serial/SerialPort.h"
#include "tests/faults/FaultLedger.h"
#include "tests/faults/FaultSession.h"

namespace {

using namespace faulttest;

// Something holding a device until it goes.
struct Holder {
    std::function<bool(const std::string&)> take;
    std::function<void()> release;
};

struct BusyCase {
    const char* what;
    std::function<Holder()> make;
};

Holder SerialPortHolder() {
    auto port = std::make_shared<CSerialPort>();
    return {[port](const std::string& device) {
                return port->OpenPort(nullptr, device, 115200, 'N', 8, 1, EV_RXCHAR, 64);
            },
            [port] { port->Close(); }};
}

Holder FlockHolder() {
    auto fd = std::make_shared<int>(-1);
    return {[fd](const std::string& device) {
                *fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
                return *fd >= 0 && ::flock(*fd, LOCK_EX | LOCK_NB) == 0;
            },
            [fd] {
                if (*fd >= 0) ::close(*fd);
                *fd = -1;
            }};
}

TEST(PortBusy, OpenFailsWithTheReasonAndSendsNothing) {
    const BusyCase cases[] = {
        {"held by a second serial port", SerialPortHolder},
        {"held by a plain open and flock", FlockHolder},
    };
    for (const BusyCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario row(c.what);
        Session s(ConfigurationUnit(), false);
        ASSERT_TRUE(s.ready) << s.error;
        const std::string device = s.host.DevicePath();
        Holder holder = c.make();
        ASSERT_TRUE(holder.take(device));

        EXPECT_FALSE(s.Open());
        ASSERT_TRUE(WaitUntil([&] { return !s.frame.log.empty(); }, 2000));
        const std::string notice = Label("OnStartCom", "OpenError") + "\r\n";
        const std::size_t at = s.frame.log.find(notice);
        ASSERT_NE(at, std::string::npos) << Tail(s.frame.log);
        const std::string reason = s.frame.log.substr(at + notice.size());
        EXPECT_NE(reason.find(device), std::string::npos) << reason;
        EXPECT_NE(reason.find("in use"), std::string::npos) << reason;
        // No prompt answers go out on a port that is not ours.
        RunEventsFor(700);
        EXPECT_EQ(s.host.Counters().bytesIn, 0u);
        EXPECT_EQ(s.Control("Open")->GetText(), Label("OnStartCom", "Open"));

        holder.release();
        ASSERT_TRUE(s.Open()) << Tail(s.frame.log);
        ASSERT_TRUE(s.LogIn()) << Tail(s.frame.log);
        ASSERT_TRUE(s.Read()) << Tail(s.frame.log);
        EXPECT_EQ(ValuesDifferingFromUnit(s), std::vector<std::string>{});
        row.Audit(s);
    }
}

}  // namespace
