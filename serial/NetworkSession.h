#pragma once
// What a port on a serial device server does the same on every system: the Telnet session on
// top of the connection (the COM port option agreed, the line settings sent and checked against
// the server's answers, data escaped and decoded), the data read but not yet taken, and how a
// server that closed on us is told. A system's backend (serial/posix/NetworkBackend.cpp,
// serial/win32/NetworkBackend.cpp) adds the socket: connecting, sending, receiving, waiting.
//
// Threads: as PortBackend.h says; the receive state is guarded by rxLock_ (the worker may purge
// while the monitor reads), the connection's sending by txLock_.
#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "serial/NetworkPort.h"
#include "serial/PortBackend.h"

namespace serial {

// The system's error codes for what the session reports.
struct NetworkErrorCodes {
    int closed;           // the connection ended, and not for a port in use
    int busy;             // the server said the port is in use
    int connectTimedOut;  // the server never agreed to the COM port option
    int settingTimedOut;  // the server never answered a line setting
    int invalidSetting;   // a setting the port cannot take, or the server did not
    int notSupported;     // a plain Telnet server: the line cannot be set
    int nothingToRead;    // a wake for Telnet commands only
};

class NetworkSession : public PortBackend {
  public:
    using Clock = std::chrono::steady_clock;

    void ReleaseLock() override {}
    std::string RefusalText() const override { return refusal_; }
    bool PrepareEvents(unsigned, int*, const char**) override { return true; }
    bool ReadSettings(int*) override { return true; }
    bool ApplySettings(const CommSettings& settings, int* error) override;
    // The server's own buffers are out of reach; what came in here can be thrown away.
    bool Purge(PurgeSide side) override;
    bool TakeLineErrors() override { return false; }
    int QueuedBytes(int* error) override;
    long Read(void* buffer, size_t size, int* error) override;
    size_t Write(const void* data, size_t length, int timeLimitMs, WriteEnd* end,
                 int* error) override;

  protected:
    // How long the server may take to answer the line settings.
    static constexpr auto kSettingsTime = std::chrono::seconds(3);
    // What a port nobody reads keeps of the server's data, as a driver's buffer would.
    static constexpr std::size_t kMaxUnread = 1 << 20;

    explicit NetworkSession(const NetworkErrorCodes& codes) : codes_(codes) {}

    // Once connected: agrees the COM port option (RFC 2217), or gives a raw port's server the
    // moment it takes to turn a second client away. False with *error; the caller closes.
    bool StartSession(NetworkMode mode, Clock::time_point deadline, int* error);
    // Forgets the session, for a Close; what the server said stays for RefusalText.
    void EndSession();
    // A new Open: nothing said yet.
    void ClearRefusal() { refusal_.clear(); }
    // Takes in bytes the server sent: the serial data is kept for Read, the server's answers
    // are noted and its Telnet questions answered. The caller holds rxLock_.
    void TakeIn(std::string_view input);
    // What Read has still to hand over; the caller holds rxLock_.
    bool HasUnread() const { return !unread_.empty(); }

    // The system's socket calls.
    // Takes in what the socket has now (through TakeIn); the caller holds rxLock_.
    virtual void PumpLocked() = 0;
    // Sends all bytes, waiting for room until the deadline or SignalStop; the count sent.
    virtual size_t SendAll(std::string_view bytes, Clock::time_point deadline, WriteEnd* end,
                           int* error) = 0;
    // Waits at most ms for the server to send something.
    virtual void WaitForInput(long ms) = 0;
    // A connection that broke is a lost line to the rest of the program, whatever the socket
    // said.
    virtual int LostOrError(int error) const = 0;

    std::mutex rxLock_;
    std::mutex txLock_;
    // The server closed the connection, or it broke (the system's PumpLocked sees it).
    bool ended_ = false;

  private:
    // Waits until the server has closed, the test holds, or the deadline passed; false on the
    // deadline. The caller holds rxLock_, which is let go while waiting.
    template <typename Done>
    bool AwaitLocked(std::unique_lock<std::mutex>& lock, Clock::time_point deadline, Done done);
    // The server closed the connection: busy when it said the port is in use, else closed;
    // what it said is kept either way.
    int ClosedError();

    const NetworkErrorCodes codes_;
    NetworkMode mode_ = NetworkMode::Raw;
    telnet::TelnetDecoder decoder_;
    std::string unread_;
    std::vector<telnet::TelnetDecoder::Answer> answers_;
    std::string refusal_;
};

}  // namespace serial
