// The command line through a real serial device server: Debian's ser2net (installed here when
// missing, as root) serves each virtual unit's pseudo-terminal on a loopback port, with the COM
// port option or raw, and the program reads, sets, applies and provisions through it.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <fcntl.h>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <chrono>
#include <filesystem>
#include <thread>

#include "params/ConfigFileText.h"
#include "serial/NetworkPort.h"
#include "serial/PortWatcher.h"
#include "serial/SerialPort.h"
#include "tests/cli/CliTestSupport.h"

namespace {

using namespace clitest;
using Clock = std::chrono::steady_clock;

std::string Ser2netPath() {
    for (const char* path : {"/usr/sbin/ser2net", "/usr/bin/ser2net", "/usr/local/sbin/ser2net"}) {
        if (::access(path, X_OK) == 0) return path;
    }
    return {};
}

// ser2net's path, installed from the distribution when missing and the tests run as root; ""
// with the reason when it cannot be had.
std::string FindOrInstallSer2net(std::string* why) {
    static std::string path = Ser2netPath();
    if (!path.empty()) return path;
    if (::geteuid() != 0) {
        *why = "ser2net is not installed and the tests do not run as root to install it";
        return {};
    }
    QProcess apt;
    apt.setProcessChannelMode(QProcess::MergedChannels);
    QStringList env = QProcess::systemEnvironment();
    env << "DEBIAN_FRONTEND=noninteractive";
    apt.setEnvironment(env);
    // Another test may be installing it at the same moment: wait for its lock.
    apt.start("apt-get", {"install", "-y", "-q", "-o", "DPkg::Lock::Timeout=240", "ser2net"});
    apt.waitForFinished(300000);
    path = Ser2netPath();
    if (path.empty()) *why = "apt-get install ser2net failed: " + apt.readAll().toStdString();
    return path;
}

// A loopback port nobody listens on now.
int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

// One ser2net process serving each device on a loopback port of its own.
class Ser2net {
  public:
    struct Line {
        std::string device;
        bool comPort;        // the COM port option (Telnet); else raw bytes
        std::string format;  // the line ser2net sets when a client connects: "115200n81"
    };

    bool Start(const std::string& binary, const std::vector<Line>& lines, std::string* error) {
        std::string yaml;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int port = FreePort();
            const std::string scheme = lines[i].comPort ? "rfc2217" : "tcp";
            names_.push_back(scheme + "://127.0.0.1:" + std::to_string(port));
            yaml += "connection: &c" + std::to_string(i) +
                    "\n  accepter: " + (lines[i].comPort ? "telnet(rfc2217),tcp," : "tcp,") +
                    "127.0.0.1," + std::to_string(port) + "\n  connector: serialdev," +
                    lines[i].device + "," + lines[i].format + ",local\n";
        }
        static int made = 0;
        const std::string file =
            testpaths::TempDir() + "/ser2net-" + std::to_string(++made) + ".yaml";
        WriteFile(file, yaml);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(QString::fromStdString(binary), {"-n", "-c", QString::fromStdString(file)});
        if (!process_.waitForStarted(5000)) {
            *error = "ser2net did not start";
            return false;
        }
        for (const std::string& name : names_) {
            if (!serial::WaitForPort(name, 5000)) {
                *error = name + " not served: " + process_.readAll().toStdString();
                return false;
            }
        }
        return true;
    }
    void Kill() {
        if (process_.state() == QProcess::NotRunning) return;
        ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
        process_.waitForFinished(5000);
    }
    ~Ser2net() { Kill(); }
    const std::string& Name(std::size_t i) const { return names_[i]; }

  private:
    QProcess process_;
    std::vector<std::string> names_;
};

class NetworkServer : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string why;
        binary_ = FindOrInstallSer2net(&why);
        if (binary_.empty()) GTEST_SKIP() << why;
    }
    // Starts the units and a server for them; each unit's line is served as `comPort` says.
    void Serve(std::size_t units, const std::vector<bool>& comPort, const char* format) {
        std::vector<Ser2net::Line> lines;
        for (std::size_t i = 0; i < units; ++i) {
            hosts_.push_back(std::make_unique<sim::VirtualUnitHost>(FastUnit()));
            std::string error;
            ASSERT_TRUE(hosts_.back()->Start(&error)) << error;
            lines.push_back({hosts_.back()->DevicePath(), comPort[i], format});
            // Read straight from the unit's terminal while no server has it open.
            listings_.push_back(CaptureListing(hosts_.back()->DevicePath()));
            ASSERT_FALSE(listings_.back().empty());
        }
        std::string error;
        ASSERT_TRUE(server_.Start(binary_, lines, &error)) << error;
    }
    QStringList Port(std::size_t i) const {
        return {"--port", QString::fromStdString(server_.Name(i)), "--baud",
                QString::number(kBaud)};
    }

    std::string binary_;
    std::vector<std::string> listings_;  // each unit's, as it was before the server started
    std::vector<std::unique_ptr<sim::VirtualUnitHost>> hosts_;
    Ser2net server_;  // declared last: killed before the units go
};

// read, set (one write) and apply (one write back) through each kind of server port. The
// server's own line setting is 9600 where the COM port option sets it: the unit answers only at
// the rate the program asked the server for.
TEST_F(NetworkServer, ReadSetAndApplyThroughEachKindOfPort) {
    Serve(2, {true, false}, "9600n81");
    if (HasFatalFailure()) return;
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(server_.Name(i));
        sim::VirtualUnitHost& host = *hosts_[i];
        const std::string cfg = testpaths::TempDir() + "/network-" + std::to_string(i) + ".cfg";
        const CliResult read =
            RunCli(QStringList{"read"} + Port(i) + QStringList{"--output", cfg.c_str()});
        ASSERT_EQ(read.exitCode, 0) << read.err;
        EXPECT_EQ(ReadFile(cfg), EncodeConfigText(listings_[i]));

        const std::string port = *host.StoredValue("AT+PORT");
        struct Step {
            QStringList args;
            std::vector<std::string> written;
        };
        const Step steps[] = {
            {QStringList{"set"} + Port(i) + QStringList{"Server's Port=6001"}, {"AT+PORT=6001"}},
            {QStringList{"apply", cfg.c_str()} + Port(i), {"AT+PORT=" + port}},
        };
        for (const Step& step : steps) {
            const std::size_t from = host.ReceivedCommands().size();
            const CliResult r = RunCli(step.args);
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(WritesSince(host, from), step.written);
        }
        EXPECT_EQ(host.StoredValue("AT+PORT"), port);
    }
}

// Three units through three server ports at once, each with its own row.
TEST_F(NetworkServer, ProvisionsThreeUnitsThroughThreePortsAtOnce) {
    constexpr std::size_t kUnits = 3;
    Serve(kUnits, {true, true, false}, "115200n81");
    if (HasFatalFailure()) return;
    const std::string dir = testpaths::TempDir() + "/network-provision";
    WriteFile(dir + ".cfg", EncodeConfigText(listings_[0]));
    std::string csv = "port,Access Point Name\n";
    QStringList args{"provision", (dir + ".cfg").c_str(),
                     "--units",   (dir + ".csv").c_str(),
                     "--report",  dir.c_str(),
                     "--baud",    QString::number(kBaud)};
    for (std::size_t i = 0; i < kUnits; ++i) {
        csv += server_.Name(i) + ",net" + std::to_string(i) + "\n";
        args << "--port" << QString::fromStdString(server_.Name(i));
    }
    WriteFile(dir + ".csv", csv);
    const CliResult r = RunCli(args, 60000);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    for (std::size_t i = 0; i < kUnits; ++i) {
        SCOPED_TRACE(server_.Name(i));
        EXPECT_EQ(hosts_[i]->StoredValue("AT+APN"), "net" + std::to_string(i));
        // "rfc2217://127.0.0.1:PORT" reports as "127.0.0.1_PORT-1.json".
        std::string stem = server_.Name(i).substr(server_.Name(i).rfind('/') + 1);
        std::replace(stem.begin(), stem.end(), ':', '_');
        const std::string report = ReadFile(dir + "/" + stem + "-1.json");
        const QJsonObject json =
            QJsonDocument::fromJson(QByteArray::fromStdString(report)).object();
        EXPECT_EQ(json["result"].toString().toStdString(), "configured") << report;
    }
}

// The server goes while the unit lists its values: the port is lost, and said so, at once.
TEST_F(NetworkServer, AServerKilledMidListingIsALostPort) {
    Serve(1, {true}, "115200n81");
    if (HasFatalFailure()) return;
    std::string error;
    // The listing waits long enough for the server to go in the middle of it.
    ASSERT_TRUE(hosts_[0]->AddFault("stall=8000@AT+SHOW/1", &error)) << error;
    const std::size_t from = hosts_[0]->ReceivedCommands().size();
    CliRun run(QStringList{"read"} + Port(0));
    const auto listing = [&] {
        const std::vector<std::string> commands = hosts_[0]->ReceivedCommands();
        return std::any_of(commands.begin() + static_cast<std::ptrdiff_t>(from), commands.end(),
                           [](const std::string& c) { return c.rfind("AT+SHOW", 0) == 0; });
    };
    const auto until = Clock::now() + std::chrono::seconds(15);
    while (!listing() && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(listing());
    const auto killed = Clock::now();
    server_.Kill();
    const CliResult r = run.Finish(10000);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - killed);
    // The stalled listing alone would take 8 s: only the lost port ends the run this soon (the
    // lost port's notice and the job's failure race to be printed first).
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_LT(took.count(), 3000) << r.err;
}

// What the program asks of the server's line is what the pseudo-terminal is then set to, and
// the port is the program's alone while it is open.
TEST_F(NetworkServer, TheLineSettingsReachThePseudoTerminal) {
    Serve(1, {true}, "9600n81");
    if (HasFatalFailure()) return;
    const struct {
        UINT baud;
        char parity;
        UINT data;
        UINT stop;
        speed_t speed;
        tcflag_t twoStops;  // a pseudo-terminal keeps the stop bits, but is 8 bits, no parity
    } cases[] = {
        {115200, 'N', 8, 1, B115200, 0},
        {19200, 'E', 7, 2, B19200, CSTOPB},
        {57600, 'O', 8, 1, B57600, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.baud);
        CSerialPort port;
        ASSERT_TRUE(port.OpenPort(nullptr, server_.Name(0), c.baud, c.parity, c.data, c.stop,
                                  EV_RXCHAR, 4096))
            << port.LastOpenError();
        const int fd =
            ::open(hosts_[0]->DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        termios tio{};
        ASSERT_EQ(::tcgetattr(fd, &tio), 0);
        ::close(fd);
        EXPECT_EQ(::cfgetospeed(&tio), c.speed);
        EXPECT_EQ(tio.c_cflag & CSTOPB, c.twoStops);
        // A second client is turned away by the server, in its own words.
        CSerialPort second;
        EXPECT_FALSE(second.OpenPort(nullptr, server_.Name(0), c.baud, c.parity, c.data, c.stop,
                                     EV_RXCHAR, 4096));
        EXPECT_EQ(second.LastOpenFailure().kind, serial::PortError::Busy);
        EXPECT_EQ(second.LastOpenFailure().serverSays, "Port already in use");
        port.Close();
    }
}

}  // namespace
