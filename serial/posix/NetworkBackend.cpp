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
#include "serial/NetworkSession.h"

namespace serial {

namespace {

using Clock = std::chrono::steady_clock;

// How long a connection (and the server's agreement to the COM port option) may take.
constexpr auto kConnectTime = std::chrono::seconds(5);

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
int LostLine(int error) {
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

constexpr NetworkErrorCodes kErrorCodes = {
    .closed = EIO,
    .busy = EBUSY,
    .connectTimedOut = ETIMEDOUT,
    .settingTimedOut = ETIMEDOUT,
    .invalidSetting = EINVAL,
    .notSupported = EPROTONOSUPPORT,
    .nothingToRead = EPROTO,
};

class NetworkBackend final : public NetworkSession {
  public:
    NetworkBackend() : NetworkSession(kErrorCodes) {}
    ~NetworkBackend() override { Close(); }

    bool Open(const std::string& device, const OwnershipRoots&, int* error, PortHolder*) override;
    void Close() override;
    bool IsOpen() const override { return fd_ >= 0; }

    WaitResult Wait(bool wantData) override;
    void SignalWake() override { Signal(wakeFd_); }
    void TakeWake() override;
    void SignalStop() override { Signal(stopFd_); }

  private:
    void PumpLocked() override;
    size_t SendAll(std::string_view bytes, Clock::time_point deadline, WriteEnd* end,
                   int* error) override;
    void WaitForInput(long ms) override;
    int LostOrError(int error) const override { return LostLine(error); }

    int fd_ = -1;
    int stopFd_ = -1;  // never drained: once set, every wait and write sees it until Close
    int wakeFd_ = -1;  // drained by the monitor for each queued write
};

bool NetworkBackend::Open(const std::string& device, const OwnershipRoots&, int* error,
                          PortHolder*) {
    Close();
    ClearRefusal();
    NetworkAddress address;
    if (!ParseNetworkPortName(device, &address)) {
        *error = ENOENT;
        return false;
    }
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
    if (StartSession(address.mode, deadline, error)) return true;
    Close();
    return false;
}

void NetworkBackend::Close() {
    std::lock_guard rx(rxLock_);
    std::lock_guard tx(txLock_);
    CloseFd(fd_);
    CloseFd(stopFd_);
    CloseFd(wakeFd_);
    EndSession();
}

void NetworkBackend::WaitForInput(long ms) {
    pollfd wait{fd_, POLLIN, 0};
    [[maybe_unused]] int ready = ::poll(&wait, 1, static_cast<int>(ms));
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
        TakeIn(std::string_view(buffer, static_cast<size_t>(n)));
    }
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

WaitResult NetworkBackend::Wait(bool wantData) {
    WaitResult result;
    for (;;) {
        bool ready = false;
        {
            std::lock_guard lock(rxLock_);
            ready = ended_ || (wantData && HasUnread());
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
        result.readable = wantData && HasUnread();
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
