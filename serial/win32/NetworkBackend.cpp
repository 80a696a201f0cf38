// A port on a serial device server, with winsock: a non-blocking TCP socket whose read and close
// events are tied to an event object, waited on together with the backend's own stop event
// (manual reset, set until the next Open) and wake event. What the server sends is decoded as it
// comes in, so the monitor only ever sees the serial data.
#include <winsock2.h>
#include <ws2tcpip.h>
// winsock2.h before windows.h.
#include <windows.h>

#include <algorithm>
#include <chrono>
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
// A write waiting for room looks at the stop event this often.
constexpr long kWriteSliceMs = 50;

bool StartWinsock() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

long MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<long>(std::max<long long>(0, left.count()));
}

// Waits until the socket is writable (or failed) or the time passed; >0 when it is.
int WaitWritable(SOCKET s, long ms, bool* failed) {
    fd_set write;
    fd_set except;
    FD_ZERO(&write);
    FD_ZERO(&except);
    FD_SET(s, &write);
    FD_SET(s, &except);
    timeval limit{ms / 1000, (ms % 1000) * 1000};
    const int ready = select(0, nullptr, &write, &except, &limit);
    *failed = ready > 0 && FD_ISSET(s, &except);
    return ready;
}

// A connection that broke is a lost line to the rest of the program, whatever the socket said.
int LostLine(int error) {
    switch (error) {
        case WSAECONNRESET:
        case WSAECONNABORTED:
        case WSAENOTCONN:
        case WSAESHUTDOWN:
        case WSAETIMEDOUT:
            return WSAECONNRESET;
        default:
            return error;
    }
}

// Connects to the first of the host's addresses that accepts, by the deadline; INVALID_SOCKET
// with *error.
SOCKET Connect(const NetworkAddress& address, Clock::time_point deadline, int* error) {
    if (!StartWinsock()) {
        *error = WSASYSNOTREADY;
        return INVALID_SOCKET;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.host.c_str(), address.service.c_str(), &hints, &found) != 0) {
        *error = WSAHOST_NOT_FOUND;
        return INVALID_SOCKET;
    }
    *error = WSAEHOSTUNREACH;
    SOCKET s = INVALID_SOCKET;
    for (addrinfo* a = found; a && s == INVALID_SOCKET; a = a->ai_next) {
        s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (s == INVALID_SOCKET) {
            *error = WSAGetLastError();
            continue;
        }
        u_long nonBlocking = 1;
        ioctlsocket(s, FIONBIO, &nonBlocking);
        if (connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) != 0) {
            const int code = WSAGetLastError();
            if (code != WSAEWOULDBLOCK) {
                *error = code;
                closesocket(s);
                s = INVALID_SOCKET;
                continue;
            }
            bool failed = false;
            const int ready = WaitWritable(s, MillisecondsUntil(deadline), &failed);
            int result = ready > 0 ? 0 : WSAETIMEDOUT;
            if (failed) {
                int size = sizeof result;
                getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&result), &size);
                if (result == 0) result = WSAECONNREFUSED;
            }
            if (result != 0) {
                *error = result;
                closesocket(s);
                s = INVALID_SOCKET;
            }
        }
    }
    freeaddrinfo(found);
    if (s != INVALID_SOCKET) {
        BOOL one = TRUE;
        setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    }
    return s;
}

constexpr NetworkErrorCodes kErrorCodes = {
    .closed = WSAECONNRESET,
    .busy = ERROR_BUSY,
    .connectTimedOut = WSAETIMEDOUT,
    .settingTimedOut = ERROR_TIMEOUT,
    .invalidSetting = ERROR_INVALID_PARAMETER,
    .notSupported = ERROR_NOT_SUPPORTED,
    .nothingToRead = ERROR_IO_INCOMPLETE,
};

class NetworkBackend final : public NetworkSession {
  public:
    NetworkBackend() : NetworkSession(kErrorCodes) {}
    ~NetworkBackend() override { Close(); }

    bool Open(const std::string& device, const OwnershipRoots&, int* error, PortHolder*) override;
    void Close() override;
    bool IsOpen() const override { return socket_ != INVALID_SOCKET; }

    WaitResult Wait(bool wantData) override;
    void SignalWake() override {
        if (wake_) SetEvent(wake_);
    }
    void TakeWake() override {
        if (wake_) ResetEvent(wake_);
    }
    void SignalStop() override {
        if (stop_) SetEvent(stop_);
    }

  private:
    void PumpLocked() override;
    size_t SendAll(std::string_view bytes, Clock::time_point deadline, WriteEnd* end,
                   int* error) override;
    void WaitForInput(long ms) override {
        WaitForSingleObject(socketEvent_, static_cast<DWORD>(ms));
    }
    int LostOrError(int error) const override { return LostLine(error); }

    SOCKET socket_ = INVALID_SOCKET;
    HANDLE socketEvent_ = nullptr;  // FD_READ and FD_CLOSE
    HANDLE stop_ = nullptr;
    HANDLE wake_ = nullptr;
};

bool NetworkBackend::Open(const std::string& device, const OwnershipRoots&, int* error,
                          PortHolder*) {
    Close();
    ClearRefusal();
    NetworkAddress address;
    if (!ParseNetworkPortName(device, &address)) {
        *error = ERROR_FILE_NOT_FOUND;
        return false;
    }
    const auto deadline = Clock::now() + kConnectTime;
    socket_ = Connect(address, deadline, error);
    if (socket_ == INVALID_SOCKET) return false;
    socketEvent_ = WSACreateEvent();
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    wake_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (socketEvent_ == WSA_INVALID_EVENT || !stop_ || !wake_ ||
        WSAEventSelect(socket_, socketEvent_, FD_READ | FD_CLOSE) != 0) {
        *error = static_cast<int>(GetLastError());
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
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
    if (socketEvent_ && socketEvent_ != WSA_INVALID_EVENT) WSACloseEvent(socketEvent_);
    socketEvent_ = nullptr;
    for (HANDLE* event : {&stop_, &wake_}) {
        if (*event) CloseHandle(*event);
        *event = nullptr;
    }
    EndSession();
}

void NetworkBackend::PumpLocked() {
    if (socket_ == INVALID_SOCKET || ended_) return;
    // Resets the event; every byte there now is read below, and what comes later sets it anew.
    WSANETWORKEVENTS events{};
    WSAEnumNetworkEvents(socket_, socketEvent_, &events);
    char buffer[16384];
    for (;;) {
        const int n = recv(socket_, buffer, sizeof buffer, 0);
        if (n == 0) {
            ended_ = true;
            break;
        }
        if (n < 0) {
            if (WSAGetLastError() != WSAEWOULDBLOCK) ended_ = true;
            break;
        }
        TakeIn(std::string_view(buffer, static_cast<size_t>(n)));
    }
    if (events.lNetworkEvents & FD_CLOSE) {
        // The close came with the last bytes; one more read confirms the end.
        const int n = recv(socket_, buffer, 0, 0);
        if (n == 0 || (n < 0 && WSAGetLastError() != WSAEWOULDBLOCK)) ended_ = true;
    }
}

size_t NetworkBackend::SendAll(std::string_view bytes, Clock::time_point deadline, WriteEnd* end,
                               int* error) {
    std::lock_guard lock(txLock_);
    size_t sent = 0;
    while (sent < bytes.size()) {
        const int chunk = static_cast<int>(std::min<size_t>(bytes.size() - sent, 1 << 20));
        const int n = send(socket_, bytes.data() + sent, chunk, 0);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        const int code = WSAGetLastError();
        if (code != WSAEWOULDBLOCK) {
            *error = LostOrError(code);
            *end = WriteEnd::Failed;
            return sent;
        }
        const long left = MillisecondsUntil(deadline);
        if (left <= 0) {
            *error = ERROR_TIMEOUT;
            *end = WriteEnd::TimedOut;
            return sent;
        }
        if (stop_ && WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) {
            *error = ERROR_OPERATION_ABORTED;
            *end = WriteEnd::Stopped;
            return sent;
        }
        bool failed = false;
        WaitWritable(socket_, std::min(left, kWriteSliceMs), &failed);
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
        HANDLE events[3] = {stop_, wake_, socketEvent_};
        const DWORD woke =
            WaitForMultipleObjects(ready ? 2 : 3, events, FALSE, ready ? 0 : INFINITE);
        if (woke == WAIT_FAILED) {
            result.hangUp = true;
            return result;
        }
        result.stop = WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0;
        result.wake = WaitForSingleObject(wake_, 0) == WAIT_OBJECT_0;
        std::lock_guard lock(rxLock_);
        if (woke == WAIT_OBJECT_0 + 2) PumpLocked();
        result.readable = wantData && HasUnread();
        result.hangUp = ended_;
        if (result.stop || result.wake || result.readable || result.hangUp) return result;
    }
}

}  // namespace

bool NetworkPortAnswers(const std::string& device, int timeoutMs) {
    NetworkAddress address;
    if (!ParseNetworkPortName(device, &address)) return false;
    int error = 0;
    const SOCKET s = Connect(address, Clock::now() + std::chrono::milliseconds(timeoutMs), &error);
    if (s == INVALID_SOCKET) return false;
    closesocket(s);
    return true;
}

std::unique_ptr<PortBackend> MakeNetworkPortBackend() {
    return std::make_unique<NetworkBackend>();
}

}  // namespace serial
