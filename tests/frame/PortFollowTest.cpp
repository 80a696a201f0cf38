// The port list as the user reads it, and the port that follows its adapter: every port listed
// with its by-id name and why it cannot be used, and a port lost while open reopened and logged
// into again when the same link comes back, with the program idle while it waits.
#include "app/PortFollow.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "app/Connect.h"
#include "app/PortReturn.h"
#include "engine/OpenErrorText.h"
#include "settings/Labels.h"
#include "settings/System.h"
#include "sim/VirtualUnitHost.h"
#include "tests/frame/EngineTestSupport.h"
#include "tests/support/FakeSysfs.h"
#include "tests/support/TestPaths.h"
#include "ui/Controls.h"

namespace {

namespace fs = std::filesystem;
using enginetest::RecordingFrame;

std::string RealSkin() {
    return testpaths::SourceDir() + "/skin/ConifgENRes";
}

// The list's last item, below the ports.
constexpr const char* kAddEntry = "Add network port…";

std::vector<std::string> Items(RecordingFrame& frame) {
    std::vector<std::string> items;
    auto* combo = dynamic_cast<CComboUI*>(frame.Control("SerialPort"));
    for (int i = 0; combo && i < combo->GetCount(); ++i) {
        items.push_back(combo->GetItemAt(i)->GetText().str());
    }
    return items;
}

// Two adapters on a fake /sys and /dev; this process plays a user outside the devices' group.
struct FakeMachine {
    FakeMachine() {
        sys.AddPort("ttyACM0", "usb1/1-2/1-2:1.0", "cdc_acm");
        sys.AddPort("ttyUSB0", "usb1/1-1/1-1:1.0/ttyUSB0", "ftdi_sio");
        for (const char* name : {"ttyACM0", "ttyUSB0"}) {
            testpaths::WriteFile((dev / name).string(), "");
            chmod((dev / name).c_str(), 0660);
        }
        fs::create_directories(dev / "serial/by-id");
        fs::create_symlink("../../ttyUSB0", dev / "serial/by-id/usb-FTDI_FT232R_A5-if00-port0");
        fs::create_directories(dev / "lock");
        fs::create_directories(dev / "proc");
        roots.sysRoot = sys.Tty().string();
        roots.devRoot = dev.string();
        roots.ownership = {(dev / "lock").string(), (dev / "proc").string()};
        roots.user = serial::UserIdentity{4000000, {}};
    }
    std::string Device(const char* name) const { return (dev / name).string(); }

    testsupport::FakeSysfs sys;
    fs::path dev = testpaths::TempDir();
    PortRoots roots;
};

TEST(PortFollow, EveryPortIsListedWithItsStableNameAndWhyItCannotBeUsed) {
    FakeMachine machine;
    const std::string group = getgrgid(getgid()) ? getgrgid(getgid())->gr_name : "";
    const std::string noPermission =
        "no permission: sudo usermod -aG " + group + " " + sys::UserName() + ", then log in again";
    const std::string notice = "sudo usermod -aG " + group + " " + sys::UserName();

    RecordingFrame frame(RealSkin());
    frame.portRoots = machine.roots;
    ASSERT_TRUE(frame.Open());
    enginetest::RunEventsFor(20);
    EXPECT_EQ(Items(frame),
              (std::vector<std::string>{
                  machine.Device("ttyACM0") + "  " + noPermission,
                  machine.Device("ttyUSB0") + "  usb-FTDI_FT232R_A5-if00-port0  " + noPermission,
                  kAddEntry,
              }));
    // First start without access: the log says what to do, once.
    EXPECT_EQ(enginetest::Occurrences(frame.log, notice), 1) << frame.log;

    // Access given (a new login), and a terminal program attached to the FTDI adapter.
    chmod(machine.Device("ttyUSB0").c_str(), 0666);
    chmod(machine.Device("ttyACM0").c_str(), 0666);
    fs::create_directories(machine.dev / "proc/4242/fd");
    fs::create_symlink(machine.Device("ttyUSB0"), machine.dev / "proc/4242/fd/3");
    testpaths::WriteFile((machine.dev / "proc/4242/comm").string(), "minicom\n");
    auto* combo = dynamic_cast<CComboUI*>(frame.Control("SerialPort"));
    combo->SelectItem(1);
    frame.log.clear();
    OnPortsChanged(frame);
    EXPECT_EQ(Items(frame), (std::vector<std::string>{
                                machine.Device("ttyACM0"),
                                machine.Device("ttyUSB0") +
                                    "  usb-FTDI_FT232R_A5-if00-port0  in use by PID 4242 (minicom)",
                                kAddEntry,
                            }));
    EXPECT_EQ(combo->GetCurSel(), 1) << "the refill kept the port chosen";
    EXPECT_EQ(enginetest::Occurrences(frame.log, notice), 0) << frame.log;
}

// A program takes the adapter or lets it go without a device node changing: the list says so
// once it is opened again, or once a port is picked, and never keeps a holder that is gone.
TEST(PortFollow, WhoHoldsAPortIsDecidedWhenTheListOpensOrAPortIsPicked) {
    FakeMachine machine;
    for (const char* name : {"ttyACM0", "ttyUSB0"}) chmod(machine.Device(name).c_str(), 0666);
    RecordingFrame frame(RealSkin());
    frame.portRoots = machine.roots;
    ASSERT_TRUE(frame.Open());
    enginetest::RunEventsFor(20);
    const fs::path holderFd = machine.dev / "proc/4242/fd/3";
    fs::create_directories(holderFd.parent_path());
    testpaths::WriteFile((machine.dev / "proc/4242/comm").string(), "minicom\n");
    const std::string free = machine.Device("ttyUSB0") + "  usb-FTDI_FT232R_A5-if00-port0";
    const std::string held = free + "  in use by PID 4242 (minicom)";
    auto* combo = dynamic_cast<CComboUI*>(frame.Control("SerialPort"));
    ASSERT_NE(combo, nullptr);

    struct Step {
        const char* what;
        bool taken;
        bool pick;  // a pick of the first port; otherwise the list is opened
        std::string shown;
    };
    const Step steps[] = {
        {"taken, list opened", true, false, held},
        {"let go, list opened", false, false, free},
        {"taken, port picked", true, true, held},
        {"let go, port picked", false, true, free},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.taken) {
            fs::create_symlink(machine.Device("ttyUSB0"), holderFd);
        } else {
            fs::remove(holderFd);
        }
        if (step.pick) {
            combo->SelectItem(combo->GetCurSel() == 0 ? 1 : 0);
            enginetest::RunEventsFor(20);
        } else {
            frame.Notify("SerialPort", "dropdown");
        }
        ASSERT_EQ(Items(frame).size(), 3u);
        EXPECT_EQ(Items(frame)[1], step.shown);
    }
}

// A virtual unit behind a link of its own, as a by-id name stands for an adapter.
struct LinkedUnit {
    explicit LinkedUnit(const std::string& linkPath) : link(linkPath), host(Options()) {
        started = host.Start(&error);
        if (started) fs::create_symlink(host.DevicePath(), link);
    }
    static sim::UnitOptions Options() {
        sim::UnitOptions options;
        options.start = sim::UnitStart::Working;
        return options;
    }
    // Pulled out: the line is cut and the link goes, as udev removes it.
    void Unplug() {
        host.Unplug();
        fs::remove(link);
    }
    std::string link;
    sim::VirtualUnitHost host;
    std::string error;
    bool started = false;
};

// An adapter as the system shows it: a device node (here a link to the unit's terminal), its
// sysfs entry with the USB vendor, product and serial, and its by-id link.
struct UsbAdapter {
    UsbAdapter(const fs::path& devRoot, testsupport::FakeSysfs& sysfs, const std::string& name)
        : sys(sysfs),
          node((devRoot / name).string()),
          name(name),
          byId(devRoot / "serial/by-id/usb-FTDI_FT232R_A5-if00-port0") {
        sys.AddPort(name, "usb1/1-1/1-1:1.0/" + name, "ftdi_sio");
        for (auto [file, text] :
             {std::pair{"idVendor", "0403"}, {"idProduct", "6001"}, {"serial", "A5"}}) {
            sys.Write(std::string("usb1/1-1/") + file, text);
        }
        unit = std::make_unique<LinkedUnit>(node);
        fs::create_directories(byId.parent_path());
        fs::create_symlink("../../" + name, byId);
    }
    void Unplug() {
        unit->Unplug();
        fs::remove(byId);
        fs::remove_all(sys.Tty() / name);
    }
    testsupport::FakeSysfs& sys;
    std::string node;
    std::string name;
    fs::path byId;
    std::unique_ptr<LinkedUnit> unit;
};

TEST(PortFollow, TheSameAdapterPluggedBackIsReopenedAndLoggedIntoWhenAsked) {
    enum class Known { ByLinkPath, ById };
    const struct {
        const char* what;
        Known known;
        bool reopen;
    } cases[] = {
        {"the same link path", Known::ByLinkPath, true},
        {"the same by-id name, now as ttyUSB1", Known::ById, true},
        {"reopening off", Known::ByLinkPath, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path folder = testpaths::TempDir();
        testsupport::FakeSysfs sys;
        const std::string link = (folder / "ttyUNIT").string();
        std::unique_ptr<LinkedUnit> linked;
        std::unique_ptr<UsbAdapter> adapter;
        RecordingFrame frame(RealSkin());
        frame.portRoots.sysRoot = sys.Tty().string();
        frame.portRoots.devRoot = folder.string();
        frame.portFollow.reopenLost = c.reopen;
        if (c.known == Known::ByLinkPath) {
            linked = std::make_unique<LinkedUnit>(link);
            ASSERT_TRUE(linked->started) << linked->error;
            frame.extraPorts = {link};
        } else {
            adapter = std::make_unique<UsbAdapter>(folder, sys, "ttyUSB0");
            ASSERT_TRUE(adapter->unit->started) << adapter->unit->error;
        }
        const std::string device = linked ? link : adapter->node;
        ASSERT_TRUE(frame.Open());
        ASSERT_TRUE(frame.StartWorker());
        ASSERT_TRUE(SelectFramePort(frame, device));
        ASSERT_TRUE(frame.Select("BaudRate1", "115200"));
        ASSERT_TRUE(frame.Select("Checkcode", "8E1"));
        frame.Click("Open");
        ASSERT_TRUE(frame.serialPort.IsOpen()) << frame.log;
        frame.Click("Login");
        ASSERT_TRUE(enginetest::WaitUntil([&] { return frame.loggedIn.load(); }, 5000))
            << frame.log;

        if (linked) linked->Unplug();
        if (adapter) adapter->Unplug();
        ASSERT_TRUE(enginetest::WaitUntil([&] { return !frame.serialPort.IsOpen(); }, 3000));
        linked.reset();
        adapter.reset();
        // Someone picks other settings meanwhile; the reopened port has its own again.
        ASSERT_TRUE(frame.Select("Checkcode", "8N1"));

        // Unplugged: nothing runs until the kernel says something changed.
        const double cpuBefore = enginetest::ProcessCpuMs();
        enginetest::RunEventsFor(1000);
        const double idleCpuMs = enginetest::ProcessCpuMs() - cpuBefore;
        EXPECT_LT(idleCpuMs, 100.0) << "busy while waiting for the adapter";

        const std::size_t from = frame.log.size();
        const auto pluggedAt = std::chrono::steady_clock::now();
        std::string back = link;
        if (c.known == Known::ByLinkPath) {
            linked = std::make_unique<LinkedUnit>(link);
            ASSERT_TRUE(linked->started) << linked->error;
        } else {
            adapter = std::make_unique<UsbAdapter>(folder, sys, "ttyUSB1");
            ASSERT_TRUE(adapter->unit->started) << adapter->unit->error;
            back = adapter->node;
        }
        if (!c.reopen) {
            enginetest::RunEventsFor(1000);
            EXPECT_FALSE(frame.serialPort.IsOpen());
            EXPECT_EQ(Items(frame).front(), link) << "listed again, not opened";
            continue;
        }
        ASSERT_TRUE(enginetest::WaitUntil([&] { return frame.loggedIn.load(); }, 5000))
            << frame.log.substr(from);
        // Reopened on the kernel's word and logged in (about a second of it the login's own
        // guard time), not at some later poll; the margin is for a loaded sanitizer build.
        EXPECT_LT(std::chrono::steady_clock::now() - pluggedAt, std::chrono::seconds(4));
        EXPECT_EQ(frame.Control("Checkcode")->GetText().str(), "8E1");
        EXPECT_EQ(frame.Control("BaudRate1")->GetText().str(), "115200");
        const std::string steps = frame.log.substr(from);
        for (const std::string& text :
             {"The adapter is back as " + back + "; reopening it at 115200 8E1.",
              std::string("Port opened"), std::string("Reopened; logging in again.")}) {
            EXPECT_NE(steps.find(text), std::string::npos) << text << "\n" << steps;
        }
    }
}

}  // namespace

namespace {

// A raw network port served by the test: the bytes between one loopback client and the unit's
// terminal, stopped and served again on the same TCP port, as a device server restarting.
class RawRelay {
  public:
    explicit RawRelay(std::string pty) : pty_(std::move(pty)) {}
    ~RawRelay() { Stop(); }
    bool Serve(int port) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int one = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        socklen_t size = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(listener_, 4) != 0)
            return false;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        stop_ = ::eventfd(0, EFD_CLOEXEC);
        thread_ = std::thread([this] { Run(); });
        return true;
    }
    void Stop() {
        if (!thread_.joinable()) return;
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(stop_, &one, sizeof one);
        thread_.join();
        ::close(listener_);
        ::close(stop_);
    }
    std::string Name() const { return "tcp://127.0.0.1:" + std::to_string(port_); }
    int Port() const { return port_; }

  private:
    void Run() {
        for (;;) {
            pollfd wait[2] = {{listener_, POLLIN, 0}, {stop_, POLLIN, 0}};
            if (::poll(wait, 2, -1) < 0 || wait[1].revents) return;
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) continue;
            const int line = ::open(pty_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
            termios raw{};
            ::tcgetattr(line, &raw);
            ::cfmakeraw(&raw);
            ::tcsetattr(line, TCSANOW, &raw);
            const bool stopped = Relay(client, line);
            ::close(line);
            ::close(client);
            if (stopped) return;
        }
    }
    // Copies both ways until the client goes (false) or the relay is stopped (true).
    bool Relay(int client, int line) {
        char buffer[4096];
        for (;;) {
            pollfd fds[3] = {{client, POLLIN, 0}, {line, POLLIN, 0}, {stop_, POLLIN, 0}};
            if (::poll(fds, 3, -1) < 0) return true;
            if (fds[2].revents) return true;
            if (fds[0].revents) {
                const ssize_t n = ::read(client, buffer, sizeof buffer);
                if (n <= 0) return false;
                if (::write(line, buffer, static_cast<size_t>(n)) != n) return false;
            }
            if (fds[1].revents) {
                const ssize_t n = ::read(line, buffer, sizeof buffer);
                if (n > 0 && ::send(client, buffer, static_cast<size_t>(n), MSG_NOSIGNAL) != n)
                    return false;
            }
        }
    }

    std::string pty_;
    int listener_ = -1;
    int stop_ = -1;
    int port_ = 0;
    std::thread thread_;
};

// A network port whose server goes is a lost port, awaited by asking the server each second:
// when the same HOST:PORT accepts again it is reopened and logged into.
TEST(PortFollow, ANetworkPortWhoseServerComesBackIsReopened) {
    sim::VirtualUnitHost host(LinkedUnit::Options());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    RawRelay relay(host.DevicePath());
    ASSERT_TRUE(relay.Serve(0));
    const std::string name = relay.Name();
    RecordingFrame frame(RealSkin());
    frame.extraPorts = {name};
    ASSERT_TRUE(frame.Open());
    ASSERT_TRUE(frame.StartWorker());
    ASSERT_TRUE(SelectFramePort(frame, name));
    ASSERT_TRUE(frame.Select("BaudRate1", "115200"));
    frame.Click("Open");
    ASSERT_TRUE(frame.serialPort.IsOpen()) << frame.log;
    frame.Click("Login");
    ASSERT_TRUE(enginetest::WaitUntil([&] { return frame.loggedIn.load(); }, 5000)) << frame.log;

    relay.Stop();
    ASSERT_TRUE(enginetest::WaitUntil([&] { return !frame.serialPort.IsOpen(); }, 3000));
    enginetest::RunEventsFor(1500);
    EXPECT_FALSE(frame.serialPort.IsOpen());

    const std::size_t from = frame.log.size();
    RawRelay back(host.DevicePath());
    ASSERT_TRUE(back.Serve(relay.Port()));
    // The cabinet was powered again: the unit starts with its server.
    host.Reboot();
    ASSERT_TRUE(enginetest::WaitUntil([&] { return frame.loggedIn.load(); }, 6000))
        << frame.log.substr(from);
    EXPECT_NE(frame.log.find("Reopened; logging in again.", from), std::string::npos)
        << frame.log.substr(from);
    frame.Click("Open");  // closes it again before the relay goes
}

TEST(PortFollow, APseudoTerminalLostByItsNumberIsNotAwaited) {
    // Its number goes to the next terminal made, which is not the unit.
    sim::VirtualUnitHost host(LinkedUnit::Options());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    RecordingFrame frame(RealSkin());
    frame.extraPorts = {host.DevicePath()};
    ASSERT_TRUE(frame.Open());
    frame.Click("Open");
    ASSERT_TRUE(frame.serialPort.IsOpen()) << frame.log;
    host.Unplug();
    ASSERT_TRUE(enginetest::WaitUntil([&] { return !frame.serialPort.IsOpen(); }, 3000));
    enginetest::RunEventsFor(50);
    EXPECT_NE(frame.log.find("The port was lost"), std::string::npos) << frame.log;
    EXPECT_EQ(frame.log.find("will be reopened"), std::string::npos) << frame.log;
}

}  // namespace

namespace {

// A job whose answer is awaited when the adapter is pulled ends then, as port lost, and nothing
// is said of it later: the reopened port's greeting completes nothing. Logged in again, the
// program is idle and says so, with or without a job that ran before.
TEST(PortFollow, AJobOnTheLineWhenThePortWentEndsThenAndTheReloginIsIdle) {
    const struct {
        const char* what;
        bool jobOnLine;
    } cases[] = {{"a query awaits its answer", true}, {"nothing awaited", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string link = (fs::path(testpaths::TempDir()) / "ttyUNIT").string();
        auto linked = std::make_unique<LinkedUnit>(link);
        ASSERT_TRUE(linked->started) << linked->error;
        std::string error;
        ASSERT_TRUE(linked->host.AddFault("mute@AT+VER", &error)) << error;
        RecordingFrame frame(RealSkin());
        frame.extraPorts = {link};
        std::vector<std::pair<std::string, JobOutcome>> ended;
        frame.jobObserver = [&](const CommandJob& job, JobOutcome outcome) {
            ended.emplace_back(job.command, outcome);
        };
        ASSERT_TRUE(frame.Open());
        ASSERT_TRUE(frame.StartWorker());
        ASSERT_TRUE(SelectFramePort(frame, link));
        ASSERT_TRUE(frame.Select("BaudRate1", "115200"));
        frame.Click("Open");
        frame.Click("Login");
        ASSERT_TRUE(enginetest::WaitUntil([&] { return frame.loggedIn.load(); }, 5000))
            << frame.log;
        const enginetest::Message idle{kMsgCommandState, 1, 2};
        ASSERT_TRUE(enginetest::WaitUntil([&] { return frame.Count(idle) == 1; }, 3000));
        if (c.jobOnLine) {
            frame.jobQueue.PushJob({JobType::GetVersion, "At+VER\r\n", {}, {}});
            ASSERT_TRUE(enginetest::WaitUntil(
                [&] { return frame.pendingJobType == JobType::GetVersion; }, 3000));
        }
        linked->Unplug();
        ASSERT_TRUE(enginetest::WaitUntil([&] { return !frame.serialPort.IsOpen(); }, 3000));
        const std::size_t lostAt = frame.log.size();
        const auto expected =
            c.jobOnLine ? std::vector<std::pair<std::string, JobOutcome>>{{"At+VER\r\n",
                                                                           JobOutcome::PortLost}}
                        : std::vector<std::pair<std::string, JobOutcome>>{};
        EXPECT_EQ(ended, expected);
        linked = std::make_unique<LinkedUnit>(link);
        ASSERT_TRUE(linked->started) << linked->error;
        ASSERT_TRUE(enginetest::WaitUntil([&] { return frame.loggedIn.load(); }, 5000))
            << frame.log.substr(lostAt);
        EXPECT_TRUE(enginetest::WaitUntil([&] { return frame.Count(idle) == 2; }, 3000))
            << "no idle notice after the new login";
        enginetest::RunEventsFor(300);
        EXPECT_EQ(ended, expected);
        const std::string after = frame.log.substr(lostAt);
        for (const char* key : {"CommandError", "OutTime"}) {
            const std::string label = LabelText("WorkerJobThreadProc", key).str();
            EXPECT_EQ(after.find(label), std::string::npos) << label << "\n" << after;
        }
    }
}

}  // namespace
