#pragma once
// The operating system's side of a serial port: one class, one implementation file per system
// (serial/posix/PortBackend.cpp here). CSerialPort holds the rules; this only makes the calls.
//
// Threads: Open and Close run while no other thread uses the object (CSerialPort holds its
// handle lock exclusively and has joined the monitor). In between, Wait, TakeWake, QueuedBytes,
// Read and ReleaseLock belong to the monitor thread; Write, Purge, TakeLineErrors, SignalWake and
// SignalStop may run on any thread, also at the same time as the monitor waits.
#include <cstddef>
#include <memory>
#include <string>

#include "serial/CommConfig.h"
#include "serial/PortOwnership.h"

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
    PortBackend();
    ~PortBackend();
    PortBackend(const PortBackend&) = delete;
    PortBackend& operator=(const PortBackend&) = delete;

    // Opens the device for exclusive non-blocking use under its lock file; false with *error
    // when it cannot, and with *holder when another process has it (locked or just open).
    bool Open(const std::string& device, const OwnershipRoots& roots, int* error,
              PortHolder* holder);
    // Closes the device and its wake-ups and removes its lock file; nothing when not open.
    void Close();
    // Removes the lock file of a device that went away; the descriptor stays until Close.
    void ReleaseLock();
    bool IsOpen() const;

    // Reads the current line settings; false on a device that is not a terminal.
    bool ReadSettings(int* error);
    // Puts the line into raw mode with the settings and raises RTS.
    bool ApplySettings(const CommSettings& settings, int* error);
    // Throws away bytes not yet read and/or not yet sent.
    bool Purge(PurgeSide side);
    // True when the driver counted framing, overrun, parity or break errors since the last call
    // (a driver without counters, such as a pseudo-terminal's, never reports any).
    bool TakeLineErrors();

    // Bytes waiting to be read; -1 with *error.
    int QueuedBytes(int* error);
    // A non-blocking read: the count, 0 at end of file, -1 with *error (nothing there yet is an
    // error that ClassifyError calls Other).
    long Read(void* buffer, size_t size, int* error);
    // Writes all bytes, waiting for room as needed; returns the count the kernel took and how
    // the write ended: early on an error (*error set), after timeLimitMs, or on SignalStop.
    size_t Write(const void* data, size_t length, int timeLimitMs, WriteEnd* end, int* error);

    // Blocks until the port has data (when wantData), hangs up, or a signal arrives.
    WaitResult Wait(bool wantData);
    // Wakes the monitor for a queued write; TakeWake consumes that wake-up.
    void SignalWake();
    void TakeWake();
    // Ends the monitor's wait and every Write, and keeps them ended until the next Open.
    void SignalStop();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace serial
