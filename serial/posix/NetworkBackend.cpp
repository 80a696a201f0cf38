// A port on a serial device server: a TCP connection, raw or speaking Telnet with the COM port
// option, polled together with two eventfds as a terminal is (one that stops the monitor and
// every writer for good, one for queued writes). What the server sends is decoded as it comes
// in, so the monitor only ever sees the serial data.
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string_view>

#include "serial/NetworkPort.h"
#include "serial/PortBackend.h"

namespace serial {

namespace {

using Clock = std::chrono::steady_clock;

// How long a connection (and the server's agreement to the COM port option) may take.
constexpr auto kConnectTime = std::chrono::seconds(5);
// How long the server may take to answer the line settings.
constexpr auto kSettingsTime = std::chrono::seconds(3);
// A raw port's server turns a second client away at once, with a text and a close: this long
// after the connection it has done so.
constexpr auto kRefusalGrace = std::chrono::milliseconds(100);
// What a port nobody reads keeps of the server's data, as a driver's buffer would.
constexpr std::size_t kMaxUnread = 1 << 20;

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

void Signal(int fd) {
    if (fd < 0) return;
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(fd, &one, sizeof one);
}

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

// A connection that broke is a lost line to the rest of the program, whatever the socket said.
int LostOrError(int error) {
    switch (error) {
        case ECONNRESET:
        case ECONNABORTED:
        case EPIPE:
        case ENOTCONN:
        case ETIMEDOUT:
            return EIO;
        default:
            return error;
    }
}

// The server's text, fit for one line of a message: printable, without its line ends.
std::string OneLine(std::string_view text) {
    std::string line;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) line += c;
        if (line.size() >= 80) break;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

// Connects to the first of the host's addresses that accepts, each try non-blocking so the
// whole takes at most until the deadline; -1 with *error.
int Connect(const NetworkAddress& address, Clock::time_point deadline, int* error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int resolved =
        ::getaddrinfo(address.host.c_str(), address.service.c_str(), &hints, &found);
    if (resolved != 0) {
        *error = resolved == EAI_SYSTEM ? errno : EHOSTUNREACH;
        return -1;
    }
    *error = EHOSTUNREACH;
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            *error = errno;
            continue;
        }
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            if (errno != EINPROGRESS) {
                *error = errno;
                CloseFd(fd);
                continue;
            }
            pollfd wait{fd, POLLOUT, 0};
            int ready = 0;
            do ready = ::poll(&wait, 1, MillisecondsUntil(deadline));
            while (ready < 0 && errno == EINTR);
            int result = ETIMEDOUT;
            socklen_t size = sizeof result;
            if (ready > 0) ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &size);
            if (result != 0) {
                *error = result;
                CloseFd(fd);
            }
        }
    }
    ::freeaddrinfo(found);
    if (fd >= 0) {
        // Commands are a few bytes each: they go out at once, not with the next ones.
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    }
    return fd;
}

class NetworkBackend final : public PortBackend {
  public:
    ~NetworkBackend() override { Close(); }

    bool Open(const std::string& device, const OwnershipRoots&, int* error, PortHolder*) override;
    void Close() override;
    void ReleaseLock() override {}
    bool IsOpen() const override { return fd_ >= 0; }
    std::string RefusalText() const override { return refusal_; }

    bool PrepareEvents(unsigned, int*, const char**) override { return true; }
    bool ReadSettings(int*) override { return true; }
    bool ApplySettings(const CommSettings& settings, int* error) override;
    // The server's own buffers are out of reach; what came in here can be thrown away.
    bool Purge(PurgeSide side) override;
    bool TakeLineErrors() override { return false; }

    int QueuedBytes(int*) override;
    long Read(void* buffer, size_t size, int* error) override;
    size_t Write(const void* data, size_t length, int timeLimitMs, WriteEnd* end,
                 int* error) override;

    WaitResult Wait(bool wantData) override;
    void SignalWake() override { Signal(wakeFd_); }
    void TakeWake() override;
    void SignalStop() override { Signal(stopFd_); }

  private:
    // Takes in what the socket has now; the caller holds rxLock_.
    void PumpLocked();
    // Sends all bytes, waiting for room until the deadline or SignalStop; the count sent.
    size_t SendAll(std::string_view bytes, Clock::time_point deadline, WriteEnd* end, int* error);
    // Waits until the server has closed, the test holds, or the deadline passed; false on the
    // deadline. The caller holds rxLock_, which is let go while waiting.
    template <typename Done>
    bool AwaitLocked(std::unique_lock<std::mutex>& lock, Clock::time_point deadline, Done done);
    // The server closed the connection: busy when it said why, else lost.
    int ClosedError();

    NetworkMode mode_ = NetworkMode::Raw;
    int fd_ = -1;
    int stopFd_ = -1;  // never drained: once set, every wait and write sees it until Close
    int wakeFd_ = -1;  // drained by the monitor for each queued write
    // The decoder, the unread data and the end of the connection; the worker may purge while
    // the monitor reads.
    std::mutex rxLock_;
    telnet::TelnetDecoder decoder_;
    std::string unread_;
    std::vector<telnet::TelnetDecoder::Answer> answers_;
    bool ended_ = false;
    // Writers and the decoder's replies, one at a time on the connection.
    std::mutex txLock_;
    std::string refusal_;
};

bool NetworkBackend::Open(const std::string& device, const OwnershipRoots&, int* error,
                          PortHolder*) {
    Close();
    refusal_.clear();
    NetworkAddress address;
    if (!ParseNetworkPortName(device, &address)) {
        *error = ENOENT;
        return false;
    }
    mode_ = address.mode;
    const auto deadline = Clock::now() + kConnectTime;
    fd_ = Connect(address, deadline, error);
    if (fd_ < 0) return false;
    stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0 || wakeFd_ < 0) {
        *error = errno;
        Close();
        return false;
    }
    std::unique_lock lock(rxLock_);
    if (mode_ == NetworkMode::Rfc2217) {
        WriteEnd end = WriteEnd::Done;
        if (SendAll(decoder_.Greet(), deadline, &end, error), end != WriteEnd::Done) {
            *error = LostOrError(*error);
            lock.unlock();
            Close();
            return false;
        }
        const bool settled = AwaitLocked(lock, deadline, [this] {
            return decoder_.ComPortAgreed() || decoder_.ComPortDeclined();
        });
        int failure = 0;
        if (ended_)
            failure = ClosedError();
        else if (!settled)
            failure = ETIMEDOUT;
        else if (!decoder_.ComPortAgreed())
            failure = EPROTONOSUPPORT;  // a plain Telnet server: the line cannot be set
        if (failure) {
            *error = failure;
            lock.unlock();
            Close();
            return false;
        }
    } else {
        AwaitLocked(lock, Clock::now() + kRefusalGrace, [] { return false; });
        if (ended_) {
            *error = ClosedError();
            lock.unlock();
            Close();
            return false;
        }
    }
    return true;
}

void NetworkBackend::Close() {
    std::lock_guard rx(rxLock_);
    std::lock_guard tx(txLock_);
    CloseFd(fd_);
    CloseFd(stopFd_);
    CloseFd(wakeFd_);
    decoder_ = {};
    unread_.clear();
    answers_.clear();
    ended_ = false;
}

int NetworkBackend::ClosedError() {
    refusal_ = OneLine(unread_);
    return refusal_.empty() ? EIO : EBUSY;
}

bool NetworkBackend::ApplySettings(const CommSettings& s, int* error) {
    const bool validParity =
        s.parity && std::string_view("NEOMS").find(s.parity) != std::string_view::npos;
    if (s.baud == 0 || s.dataBits < 5 || s.dataBits > 8 || !validParity || !IsSupportedFrame(s)) {
        *error = EINVAL;
        return false;
    }
    // A raw port's line is the server's to set.
    if (mode_ == NetworkMode::Raw) return true;
    const unsigned stopCode = s.stopBits == StopBits::One ? 1 : s.stopBits == StopBits::Two ? 2 : 3;
    const std::vector<telnet::LineCommand> commands =
        telnet::LineCommands(s.baud, s.dataBits, s.parity, stopCode);
    std::string bytes;
    for (const telnet::LineCommand& c : commands)
        bytes += telnet::ComPortCommand(c.command, c.value);
    const auto deadline = Clock::now() + kSettingsTime;
    std::unique_lock lock(rxLock_);
    answers_.clear();
    WriteEnd end = WriteEnd::Done;
    SendAll(bytes, deadline, &end, error);
    if (end != WriteEnd::Done) {
        // A server that closed on us may have said why first.
        PumpLocked();
        *error = ended_ ? ClosedError() : LostOrError(*error);
        return false;
    }
    // Each setting is confirmed by the server's answer with the value it now has; a server that
    // cannot do the one asked answers with another, which is a refusal.
    const auto answered = [&](const telnet::LineCommand& c) {
        return std::any_of(answers_.begin(), answers_.end(), [&](const auto& a) {
            return a.command == c.command + telnet::kServerOffset;
        });
    };
    const bool all = AwaitLocked(
        lock, deadline, [&] { return std::all_of(commands.begin(), commands.end(), answered); });
    if (ended_) {
        *error = ClosedError();
        return false;
    }
    if (!all) {
        *error = ETIMEDOUT;
        return false;
    }
    for (const telnet::LineCommand& c : commands) {
        for (const auto& a : answers_) {
            if (a.command == c.command + telnet::kServerOffset && a.value != c.value) {
                *error = EINVAL;
                return false;
            }
        }
    }
    return true;
}

template <typename Done>
bool NetworkBackend::AwaitLocked(std::unique_lock<std::mutex>& lock, Clock::time_point deadline,
                                 Done done) {
    for (;;) {
        PumpLocked();
        if (done()) return true;
        if (ended_) return false;
        const int left = MillisecondsUntil(deadline);
        if (left <= 0) return false;
        lock.unlock();
        pollfd wait{fd_, POLLIN, 0};
        [[maybe_unused]] int ready = ::poll(&wait, 1, left);
        lock.lock();
    }
}

void NetworkBackend::PumpLocked() {
    if (fd_ < 0 || ended_) return;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n == 0) {
            ended_ = true;
            break;
        }
        if (n < 0) {
            if (errno == EINTR) continue;
            // Anything but "nothing yet" means the connection is gone.
            if (errno != EAGAIN && errno != EWOULDBLOCK) ended_ = true;
            break;
        }
        const std::string_view input(buffer, static_cast<size_t>(n));
        std::string data;
        if (mode_ == NetworkMode::Rfc2217) {
            decoder_.Feed(input, &data);
            for (auto& answer : decoder_.TakeAnswers()) answers_.push_back(std::move(answer));
            const std::string replies = decoder_.TakeReplies();
            if (!replies.empty()) {
                WriteEnd end = WriteEnd::Done;
                int error = 0;
                SendAll(replies, Clock::now() + kSettingsTime, &end, &error);
            }
        } else {
            data.assign(input);
        }
        if (unread_.size() < kMaxUnread) unread_ += data;
    }
}

bool NetworkBackend::Purge(PurgeSide side) {
    if (side == PurgeSide::Transmit) return true;
    std::lock_guard lock(rxLock_);
    PumpLocked();
    unread_.clear();
    return true;
}

int NetworkBackend::QueuedBytes(int*) {
    std::lock_guard lock(rxLock_);
    return static_cast<int>(std::min<size_t>(unread_.size(), INT32_MAX));
}

long NetworkBackend::Read(void* buffer, size_t size, int* error) {
    std::lock_guard lock(rxLock_);
    if (unread_.empty()) {
        if (ended_) return 0;
        *error = EPROTO;  // a wake for Telnet commands only: nothing to hand over
        return -1;
    }
    const size_t n = std::min(size, unread_.size());
    std::memcpy(buffer, unread_.data(), n);
    unread_.erase(0, n);
    return static_cast<long>(n);
}

size_t NetworkBackend::SendAll(std::string_view bytes, Clock::time_point deadline, WriteEnd* end,
                               int* error) {
    std::lock_guard lock(txLock_);
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            *error = LostOrError(errno);
            *end = WriteEnd::Failed;
            return sent;
        }
        const int left = MillisecondsUntil(deadline);
        if (left <= 0) {
            *error = ETIMEDOUT;
            *end = WriteEnd::TimedOut;
            return sent;
        }
        pollfd fds[2] = {{fd_, POLLOUT, 0}, {stopFd_, POLLIN, 0}};
        if (::poll(fds, 2, left) < 0 && errno != EINTR) {
            *error = errno;
            *end = WriteEnd::Failed;
            return sent;
        }
        if (fds[1].revents & POLLIN) {
            *error = ECANCELED;
            *end = WriteEnd::Stopped;
            return sent;
        }
    }
    *end = WriteEnd::Done;
    return sent;
}

size_t NetworkBackend::Write(const void* data, size_t length, int timeLimitMs, WriteEnd* end,
                             int* error) {
    const std::string_view bytes(static_cast<const char*>(data), length);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeLimitMs);
    if (mode_ == NetworkMode::Raw) return SendAll(bytes, deadline, end, error);
    const std::string escaped = telnet::Escape(bytes);
    return telnet::DataBytesIn(bytes, SendAll(escaped, deadline, end, error));
}

WaitResult NetworkBackend::Wait(bool wantData) {
    WaitResult result;
    for (;;) {
        bool ready = false;
        {
            std::lock_guard lock(rxLock_);
            ready = ended_ || (wantData && !unread_.empty());
        }
        // The socket is read even when nobody wants the data: the server's notices and an end
        // of the connection come that way, and unread they would wake this wait forever.
        pollfd fds[3] = {{ready ? -1 : fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 3, ready ? 0 : -1) < 0) {
            if (errno == EINTR) continue;
            result.hangUp = true;  // nothing sensible is left to wait on: stopping beats spinning
            return result;
        }
        result.stop = fds[1].revents & POLLIN;
        result.wake = fds[2].revents & POLLIN;
        std::lock_guard lock(rxLock_);
        if (fds[0].revents) PumpLocked();
        result.readable = wantData && !unread_.empty();
        result.hangUp = ended_;
        if (result.stop || result.wake || result.readable || result.hangUp) return result;
    }
}

void NetworkBackend::TakeWake() {
    if (wakeFd_ < 0) return;
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t n = ::read(wakeFd_, &count, sizeof count);
}

}  // namespace

bool NetworkPortAnswers(const std::string& device, int timeoutMs) {
    NetworkAddress address;
    if (!ParseNetworkPortName(device, &address)) return false;
    int error = 0;
    int fd = Connect(address, Clock::now() + std::chrono::milliseconds(timeoutMs), &error);
    const bool answered = fd >= 0;
    CloseFd(fd);
    return answered;
}

std::unique_ptr<PortBackend> MakeNetworkPortBackend() {
    return std::make_unique<NetworkBackend>();
}

}  // namespace serial
