#pragma once
// The operating system's side of a serial port: one interface, one implementation file per
// system (serial/posix/PortBackend.cpp, serial/win32/PortBackend.cpp). CSerialPort holds the
// rules; a backend only makes the calls.
//
// Threads: Open and Close run while no other thread uses the object (CSerialPort holds its
// handle lock exclusively and has joined the monitor). In between, Wait, TakeWake, QueuedBytes,
// Read and ReleaseLock belong to the monitor thread; Write, Purge, TakeLineErrors, SignalWake and
// SignalStop may run on any thread, also at the same time as the monitor waits.
#include <cstddef>
#include <memory>
#include <string>

#include "serial/CommConfig.h"
#include "serial/PortError.h"
#include "serial/PortRoots.h"

namespace serial {

enum class PurgeSide { Receive, Transmit, Both };

// Why the monitor's wait returned; more than one may be set.
struct WaitResult {
    bool stop = false;      // Close asked the monitor to end
    bool wake = false;      // a queued write waits
    bool readable = false;  // the port has bytes (or an end of file) to read
    bool hangUp = false;    // the device went away
};

// How a write ended.
enum class WriteEnd { Done, TimedOut, Stopped, Failed };

class PortBackend {
  public:
    PortBackend() = default;
    virtual ~PortBackend() = default;
    PortBackend(const PortBackend&) = delete;
    PortBackend& operator=(const PortBackend&) = delete;

    // Opens the device for exclusive non-blocking use under its lock file; false with *error
    // when it cannot, and with *holder when another process has it (locked or just open).
    virtual bool Open(const std::string& device, const OwnershipRoots& roots, int* error,
                      PortHolder* holder) = 0;
    // Closes the device and its wake-ups and removes its lock file; nothing when not open.
    virtual void Close() = 0;
    // Removes the lock file of a device that went away; the descriptor stays until Close.
    virtual void ReleaseLock() = 0;
    virtual bool IsOpen() const = 0;
    // What a network server said as it turned the connection down, after a failed Open or
    // ApplySettings; "" when it said nothing (and always for a local port).
    virtual std::string RefusalText() const { return {}; }

    // Sets the line's time-outs and the events the monitor is woken for (EV_RXCHAR, EV_CTS...);
    // false with *error and the name of the step that failed (SetCommTimeouts(), SetCommMask()).
    virtual bool PrepareEvents(unsigned eventMask, int* error, const char** failedStep) = 0;
    // Reads the current line settings; false on a device that is not a terminal.
    virtual bool ReadSettings(int* error) = 0;
    // Puts the line into raw mode with the settings and raises RTS.
    virtual bool ApplySettings(const CommSettings& settings, int* error) = 0;
    // Throws away bytes not yet read and/or not yet sent.
    virtual bool Purge(PurgeSide side) = 0;
    // True when the driver counted framing, overrun, parity or break errors since the last call
    // (a driver without counters, such as a pseudo-terminal's, never reports any).
    virtual bool TakeLineErrors() = 0;

    // Bytes waiting to be read; -1 with *error.
    virtual int QueuedBytes(int* error) = 0;
    // A non-blocking read: the count, 0 at end of file, -1 with *error (nothing there yet is an
    // error that ClassifyError calls Other).
    virtual long Read(void* buffer, size_t size, int* error) = 0;
    // Writes all bytes, waiting for room as needed; returns the count the kernel took and how
    // the write ended: early on an error (*error set), after timeLimitMs, or on SignalStop.
    virtual size_t Write(const void* data, size_t length, int timeLimitMs, WriteEnd* end,
                         int* error) = 0;

    // Blocks until the port has data (when wantData), hangs up, or a signal arrives.
    virtual WaitResult Wait(bool wantData) = 0;
    // Wakes the monitor for a queued write; TakeWake consumes that wake-up.
    virtual void SignalWake() = 0;
    virtual void TakeWake() = 0;
    // Ends the monitor's wait and every Write, and keeps them ended until the next Open.
    virtual void SignalStop() = 0;
};

// The system's serial ports (serial/posix/PortBackend.cpp: terminals; serial/win32: COM ports).
std::unique_ptr<PortBackend> MakeSystemPortBackend();
// A serial device server's port, "rfc2217://HOST:PORT" or "tcp://HOST:PORT" (serial/posix/
// NetworkBackend.cpp, serial/win32/NetworkBackend.cpp).
std::unique_ptr<PortBackend> MakeNetworkPortBackend();
// The backend for a device name: an in-process line's (serial/InProcessBackend.cpp) for the
// virtual unit's "VIRTUALn", a network port's for its names, otherwise the system's.
std::unique_ptr<PortBackend> MakePortBackend(const std::string& device);

}  // namespace serial
