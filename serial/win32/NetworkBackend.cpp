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
#include "serial/PortBackend.h"

namespace serial {

namespace {

using Clock = std::chrono::steady_clock;

// How long a connection (and the server's agreement to the COM port option) may take.
constexpr auto kConnectTime = std::chrono::seconds(5);
// How long the server may take to answer the line settings.
constexpr auto kSettingsTime = std::chrono::seconds(3);
// A raw port's server turns a second client away at once, with a text and a close.
constexpr auto kRefusalGrace = std::chrono::milliseconds(100);
// What a port nobody reads keeps of the server's data, as a driver's buffer would.
constexpr std::size_t kMaxUnread = 1 << 20;
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

int LostOrError(int error) {
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

class NetworkBackend final : public PortBackend {
  public:
    ~NetworkBackend() override { Close(); }

    bool Open(const std::string& device, const OwnershipRoots&, int* error, PortHolder*) override;
    void Close() override;
    void ReleaseLock() override {}
    bool IsOpen() const override { return socket_ != INVALID_SOCKET; }
    std::string RefusalText() const override { return refusal_; }

    bool PrepareEvents(unsigned, int*, const char**) override { return true; }
    bool ReadSettings(int*) override { return true; }
    bool ApplySettings(const CommSettings& settings, int* error) override;
    bool Purge(PurgeSide side) override;
    bool TakeLineErrors() override { return false; }

    int QueuedBytes(int*) override;
    long Read(void* buffer, size_t size, int* error) override;
    size_t Write(const void* data, size_t length, int timeLimitMs, WriteEnd* end,
                 int* error) override;

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
    void PumpLocked();
    size_t SendAll(std::string_view bytes, Clock::time_point deadline, WriteEnd* end, int* error);
    template <typename Done>
    bool AwaitLocked(std::unique_lock<std::mutex>& lock, Clock::time_point deadline, Done done);
    int ClosedError();
    bool Fail(int code, int* error, std::unique_lock<std::mutex>& lock) {
        *error = code;
        lock.unlock();
        Close();
        return false;
    }

    NetworkMode mode_ = NetworkMode::Raw;
    SOCKET socket_ = INVALID_SOCKET;
    HANDLE socketEvent_ = nullptr;  // FD_READ and FD_CLOSE
    HANDLE stop_ = nullptr;
    HANDLE wake_ = nullptr;
    std::mutex rxLock_;
    telnet::TelnetDecoder decoder_;
    std::string unread_;
    std::vector<telnet::TelnetDecoder::Answer> answers_;
    bool ended_ = false;
    std::mutex txLock_;
    std::string refusal_;
};

bool NetworkBackend::Open(const std::string& device, const OwnershipRoots&, int* error,
                          PortHolder*) {
    Close();
    refusal_.clear();
    NetworkAddress address;
    if (!ParseNetworkPortName(device, &address)) {
        *error = ERROR_FILE_NOT_FOUND;
        return false;
    }
    mode_ = address.mode;
    const auto deadline = Clock::now() + kConnectTime;
    socket_ = Connect(address, deadline, error);
    if (socket_ == INVALID_SOCKET) return false;
    socketEvent_ = WSACreateEvent();
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    wake_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::unique_lock lock(rxLock_);
    if (socketEvent_ == WSA_INVALID_EVENT || !stop_ || !wake_ ||
        WSAEventSelect(socket_, socketEvent_, FD_READ | FD_CLOSE) != 0) {
        return Fail(static_cast<int>(GetLastError()), error, lock);
    }
    if (mode_ == NetworkMode::Rfc2217) {
        WriteEnd end = WriteEnd::Done;
        SendAll(decoder_.Greet(), deadline, &end, error);
        if (end != WriteEnd::Done) return Fail(LostOrError(*error), error, lock);
        const bool settled = AwaitLocked(lock, deadline, [this] {
            return decoder_.ComPortAgreed() || decoder_.ComPortDeclined();
        });
        if (ended_) return Fail(ClosedError(), error, lock);
        if (!settled) return Fail(WSAETIMEDOUT, error, lock);
        if (!decoder_.ComPortAgreed()) return Fail(ERROR_NOT_SUPPORTED, error, lock);
    } else {
        AwaitLocked(lock, Clock::now() + kRefusalGrace, [] { return false; });
        if (ended_) return Fail(ClosedError(), error, lock);
    }
    return true;
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
    decoder_ = {};
    unread_.clear();
    answers_.clear();
    ended_ = false;
}

int NetworkBackend::ClosedError() {
    refusal_ = OneLine(unread_);
    return refusal_.empty() ? WSAECONNRESET : ERROR_BUSY;
}

bool NetworkBackend::ApplySettings(const CommSettings& s, int* error) {
    const bool validParity =
        s.parity && std::string_view("NEOMS").find(s.parity) != std::string_view::npos;
    if (s.baud == 0 || s.dataBits < 5 || s.dataBits > 8 || !validParity || !IsSupportedFrame(s)) {
        *error = ERROR_INVALID_PARAMETER;
        return false;
    }
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
        PumpLocked();
        *error = ended_ ? ClosedError() : LostOrError(*error);
        return false;
    }
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
        *error = ERROR_TIMEOUT;
        return false;
    }
    for (const telnet::LineCommand& c : commands) {
        for (const auto& a : answers_) {
            if (a.command == c.command + telnet::kServerOffset && a.value != c.value) {
                *error = ERROR_INVALID_PARAMETER;
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
        const long left = MillisecondsUntil(deadline);
        if (left <= 0) return false;
        lock.unlock();
        WaitForSingleObject(socketEvent_, static_cast<DWORD>(left));
        lock.lock();
    }
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
    if (events.lNetworkEvents & FD_CLOSE) {
        // The close came with the last bytes; one more read confirms the end.
        const int n = recv(socket_, buffer, 0, 0);
        if (n == 0 || (n < 0 && WSAGetLastError() != WSAEWOULDBLOCK)) ended_ = true;
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
        *error = ERROR_IO_INCOMPLETE;
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
        result.readable = wantData && !unread_.empty();
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
