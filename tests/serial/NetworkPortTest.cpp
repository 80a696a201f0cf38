// A serial device server's port: the names, the Telnet coding, and what an open makes of a
// server's answers, each server played by the test on a loopback socket.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "serial/NetworkPort.h"
#include "serial/PortWatcher.h"
#include "serial/SerialPort.h"
#include "tests/serial/PtyHelpers.h"

using namespace serialtest;
using namespace serial::telnet;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

TEST(NetworkPortNames, OnlyAHostAndAPortNumberMakeAName) {
    const struct {
        const char* name;
        bool valid;
        serial::NetworkMode mode;
        const char* host;
        const char* service;
    } cases[] = {
        {"rfc2217://127.0.0.1:7001", true, serial::NetworkMode::Rfc2217, "127.0.0.1", "7001"},
        {"TCP://rig-4.plant:4001/", true, serial::NetworkMode::Raw, "rig-4.plant", "4001"},
        {"tcp://[::1]:65535", true, serial::NetworkMode::Raw, "::1", "65535"},
        {"tcp://127.0.0.1", false, serial::NetworkMode::Raw, "", ""},
        {"tcp://127.0.0.1:0", false, serial::NetworkMode::Raw, "", ""},
        {"tcp://127.0.0.1:65536", false, serial::NetworkMode::Raw, "", ""},
        {"tcp://:7001", false, serial::NetworkMode::Raw, "", ""},
        {"tcp://::1:7001", false, serial::NetworkMode::Raw, "", ""},
        {"tcp://a b:7001", false, serial::NetworkMode::Raw, "", ""},
        {"rfc2217://host:70x1", false, serial::NetworkMode::Raw, "", ""},
        {"/dev/ttyUSB0", false, serial::NetworkMode::Raw, "", ""},
    };
    for (const auto& c : cases) {
        serial::NetworkAddress address;
        ASSERT_EQ(serial::ParseNetworkPortName(c.name, &address), c.valid) << c.name;
        if (!c.valid) continue;
        EXPECT_EQ(address.mode, c.mode) << c.name;
        EXPECT_EQ(address.host, c.host) << c.name;
        EXPECT_EQ(address.service, c.service) << c.name;
    }
    EXPECT_TRUE(serial::IsNetworkPortName("tcp://127.0.0.1"));
    for (const char* device : {"/dev/tcp/x", "/dev/ttyUSB0", "COM3", "VIRTUAL1", "10.0.0.5:4001"})
        EXPECT_FALSE(serial::IsNetworkPortName(device)) << device;
}

TEST(TelnetCoding, EscapesOutgoingIacAndCountsTheDataASendCarried) {
    const std::string data = Bytes({'A', 0xFF, 'B', 0xFF});
    EXPECT_EQ(Escape(data), Bytes({'A', 0xFF, 0xFF, 'B', 0xFF, 0xFF}));
    // A send that stops between the two bytes of an escape has carried the byte before only.
    const struct {
        std::size_t sent;
        std::size_t data;
    } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 3}, {5, 3}, {6, 4}};
    for (const auto& c : cases) EXPECT_EQ(DataBytesIn(data, c.sent), c.data) << c.sent;
    EXPECT_EQ(ComPortCommand(kSetBaudRate, Bytes({0, 1, 0xC2, 0})),
              Bytes({0xFF, 0xFA, 44, 1, 0, 1, 0xC2, 0, 0xFF, 0xF0}));
}

// Each row is fed in the given pieces, so a command cut between reads must be put together.
TEST(TelnetCoding, SplitsTheServersDataFromItsCommandsAcrossReads) {
    const struct {
        const char* what;
        std::vector<std::string> pieces;
        std::string data;
        std::string replies;
        std::vector<std::string> answers;  // command byte then value
        bool agreed;
    } cases[] = {
        {"doubled IAC cut between reads",
         {Bytes({'x', 0xFF}), Bytes({0xFF, 'y'})},
         Bytes({'x', 0xFF, 'y'}),
         "",
         {},
         false},
        {"ser2net's opening: agreed where asked, echo declined, nothing said twice",
         {Bytes({0xFF, 0xFB, 3,    0xFF, 0xFD, 3,    0xFF, 0xFB, 1,    0xFF, 0xFE,
                 1,    0xFF, 0xFD, 0,    0xFF, 0xFB, 0,    0xFF, 0xFD, 44})},
         "",
         Bytes({0xFF, 0xFB, 3, 0xFF, 0xFE, 1}),
         {},
         true},
        {"answers kept, state notices dropped, the value's IAC undone",
         {Bytes({'a', 0xFF, 0xFA, 44, 106, 0x10, 0xFF}),
          Bytes({0xF0, 'b', 0xFF, 0xFA, 44, 107,  0x30, 0xFF, 0xF0, 0xFF,
                 0xFA, 44,  101,  0,    0,  0xFF, 0xFF, 0xFF, 0xF0, 'c'})},
         "abc",
         "",
         {Bytes({101, 0, 0, 0xFF})},
         false},
        {"an option never asked for is refused once each time",
         {Bytes({0xFF, 0xFD, 24, 0xFF, 0xFB, 24})},
         "",
         Bytes({0xFF, 0xFC, 24, 0xFF, 0xFE, 24}),
         {},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TelnetDecoder decoder;
        decoder.Greet();
        std::string data;
        for (const std::string& piece : c.pieces) decoder.Feed(piece, &data);
        EXPECT_EQ(data, c.data);
        EXPECT_EQ(decoder.TakeReplies(), c.replies);
        std::vector<std::string> answers;
        for (const auto& a : decoder.TakeAnswers())
            answers.push_back(std::string(1, static_cast<char>(a.command)) + a.value);
        EXPECT_EQ(answers, c.answers);
        EXPECT_EQ(decoder.ComPortAgreed(), c.agreed);
    }
}

// A server on a loopback port that serves one connection by a script.
class ScriptedServer {
  public:
    explicit ScriptedServer(std::function<void(int)> script) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(listener_, 1);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, script] {
            pollfd wait{listener_, POLLIN, 0};
            if (::poll(&wait, 1, 5000) <= 0) return;
            const int fd = ::accept(listener_, nullptr, nullptr);
            if (fd < 0) return;
            script(fd);
            ::close(fd);
        });
    }
    ~ScriptedServer() {
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    int Port() const { return port_; }

  private:
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

void Send(int fd, const std::string& bytes) {
    [[maybe_unused]] ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

// Reads until `count` complete subnegotiations came (or 3 s passed); returns all bytes read.
std::string ReadCommands(int fd, int count) {
    std::string got;
    char buffer[512];
    while (count > 0) {
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, 3000) <= 0) break;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        const std::string piece(buffer, static_cast<size_t>(n));
        for (std::size_t at = 0; (at = piece.find(Bytes({0xFF, 0xF0}), at)) != std::string::npos;
             at += 2)
            --count;
        got += piece;
    }
    return got;
}

// Agrees to the COM port option and answers each line setting; `changeBaud` answers another
// baud rate than the one asked, as a server that cannot do it does.
std::function<void(int)> ComPortServer(bool changeBaud) {
    return [changeBaud](int fd) {
        Send(fd, Bytes({0xFF, 0xFD, 44}));
        ReadCommands(fd, 4);
        const std::string baud = changeBaud ? Bytes({0, 0, 0x25, 0x80}) : Bytes({0, 1, 0xC2, 0});
        Send(fd, ComPortCommand(101, baud) + ComPortCommand(102, "\x08") +
                     ComPortCommand(103, "\x01") + ComPortCommand(104, "\x01"));
        // Held until the client goes.
        char byte;
        while (::recv(fd, &byte, 1, 0) > 0) {
        }
    };
}

TEST(NetworkPort, AnOpenTakesOnlyALineTheServerAgreedTo) {
    const struct {
        const char* what;
        const char* scheme;
        std::function<void(int)> script;  // none: nothing listens
        bool opens;
        serial::PortError kind;
        std::string step;  // "either": "" or "SetCommState()"
        std::string serverSays;
    } cases[] = {
        {"every setting confirmed", "rfc2217", ComPortServer(false), true, serial::PortError::None,
         "", ""},
        {"another baud rate answered", "rfc2217", ComPortServer(true), false,
         serial::PortError::Unsupported, "SetCommState()", ""},
        {"a raw port the server hands over", "tcp",
         [](int fd) {
             char byte;
             while (::recv(fd, &byte, 1, 0) > 0) {
             }
         },
         true, serial::PortError::None, "", ""},
        {"a raw port in use", "tcp", [](int fd) { Send(fd, "Port already in use\r\n"); }, false,
         serial::PortError::Busy, "", "Port already in use"},
        {"a COM port in use", "rfc2217",
         [](int fd) {
             Send(fd, Bytes({0xFF, 0xFD, 44}) + "Port already in use\r\n");
         },
         false, serial::PortError::Busy, "either", "Port already in use"},
        {"a raw port the server closes for another reason", "tcp",
         [](int fd) { Send(fd, "Not allowed from this address\r\n"); }, false,
         serial::PortError::Lost, "", "Not allowed from this address"},
        {"nothing listening", "tcp", nullptr, false, serial::PortError::Refused, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int port = 0;
        std::unique_ptr<ScriptedServer> server;
        if (c.script) {
            server = std::make_unique<ScriptedServer>(c.script);
            port = server->Port();
        } else {
            // A port just closed: nobody listens there.
            ScriptedServer gone([](int) {});
            port = gone.Port();
        }
        RecordingOwner owner;
        CSerialPort serialPort;
        const std::string name = std::string(c.scheme) + "://127.0.0.1:" + std::to_string(port);
        EXPECT_EQ(serialPort.OpenPort(&owner, name, 115200, 'N', 8, 1, EV_RXCHAR, 8192), c.opens);
        EXPECT_EQ(serialPort.IsOpen(), c.opens);
        const serial::OpenFailure& failure = serialPort.LastOpenFailure();
        EXPECT_EQ(failure.kind, c.kind) << serialPort.LastOpenError();
        // Whether the server's end comes before or after the settings went is its timing.
        if (c.step != "either") {
            EXPECT_EQ(failure.step, c.step);
        }
        EXPECT_EQ(failure.serverSays, c.serverSays);
        serialPort.Close();
    }
}

// The server's data reaches the owner without its Telnet commands, what the program writes
// reaches the server escaped, and the server's end is one lost port.
TEST(NetworkPort, CarriesEveryByteBothWaysAndReportsTheEndOnce) {
    std::string atServer;
    auto server = std::make_unique<ScriptedServer>([&atServer](int fd) {
        Send(fd, Bytes({0xFF, 0xFD, 44}));
        ReadCommands(fd, 4);
        Send(fd, ComPortCommand(101, Bytes({0, 1, 0xC2, 0})) + ComPortCommand(102, "\x08") +
                     ComPortCommand(103, "\x01") + ComPortCommand(104, "\x01"));
        Send(fd, Bytes({'O', 0xFF, 0xFF, 'K', 0xFF, 0xFA, 44, 107, 0x30, 0xFF, 0xF0, '\r'}));
        char buffer[64];
        while (atServer.size() < 4) {
            pollfd wait{fd, POLLIN, 0};
            if (::poll(&wait, 1, 3000) <= 0) break;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            atServer.append(buffer, static_cast<size_t>(n));
        }
    });
    RecordingOwner owner;
    CSerialPort port;
    ASSERT_TRUE(port.OpenPort(&owner, "rfc2217://127.0.0.1:" + std::to_string(server->Port()),
                              115200, 'N', 8, 1, EV_RXCHAR, 8192))
        << port.LastOpenError();
    ASSERT_TRUE(port.StartMonitor());
    EXPECT_EQ(port.WriteBytes(Bytes({'a', 0xFF, 'b'}).data(), 3), 3u);
    ASSERT_TRUE(WaitUntil([&] { return owner.CountOf(kMsgPortLost) > 0; }, 3000));
    EXPECT_EQ(owner.Received(), Bytes({'O', 0xFF, 'K', '\r'}));
    RunEventsFor(300);
    // Once, and numbered 0: the name's digits are the server's TCP port, not a line's number.
    EXPECT_EQ(owner.lostLParams, std::vector<LPARAM>{0});
    port.Close();
    server.reset();
    EXPECT_EQ(atServer, Bytes({'a', 0xFF, 0xFF, 'b'}));
}

// A lost network port is awaited by asking its server now and then: the watcher says so once
// the server takes connections again, and not before.
TEST(NetworkPort, AFollowedPortIsReportedWhenItsServerAcceptsAgain) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    const std::string name = "tcp://127.0.0.1:" + std::to_string(ntohs(address.sin_port));

    std::atomic<int> changes{0};
    serial::PortWatcher watcher;
    ASSERT_TRUE(watcher.Start([&changes] { ++changes; }));
    watcher.Follow(name);
    EXPECT_FALSE(serial::WaitForPort(name, 300));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(changes.load(), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    EXPECT_TRUE(WaitUntil([&] { return changes.load() > 0; }, 3000));
    EXPECT_TRUE(serial::WaitForPort(name, 1000));
    watcher.Stop();
    ::close(listener);
}

}  // namespace
