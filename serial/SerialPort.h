#pragma once
// CSerialPort: one serial port, opened exclusively, with a monitor thread that hands every block
// of received bytes to an owner window and writes from any thread.
//
// Threads:
//  - UI thread: OpenPort, StartMonitor, Close, the destructor, LastOpenError. OpenPort shows its
//    configuration errors there.
//  - Any thread (UI and worker, also while the monitor reads): WriteBytes, QueueWrite, IsOpen,
//    ReportError. Writers are served one at a time, so two writes never interleave on the line.
//  - Monitor thread (private): waits on the port, sends the status notifications and 1034 to
//    the owner synchronously and in arrival order, transmits queued bytes, posts kMsgPortLost.
// No lock is held while the monitor waits or sends. Every send passes the port's gate, which
// Close shuts before it joins the monitor, so Close returns while a send is pending. Close and
// the destructor must not run inside the owner's handling of a message this port sent (the
// monitor waits in that send and cannot be joined): react to kMsgPortLost, which is posted.
#include <atomic>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/PortError.h"
#include "serial/PortRoots.h"
#include "ui/Types.h"
#include "ui/UiThread.h"

class CWindowWnd;

namespace serial {
class PortBackend;
}

// Line events an owner can ask for, with the values of the Windows comm API the program speaks.
inline constexpr UINT EV_RXCHAR = 0x0001;
inline constexpr UINT EV_RXFLAG = 0x0002;
inline constexpr UINT EV_CTS = 0x0008;
inline constexpr UINT EV_BREAK = 0x0040;
inline constexpr UINT EV_ERR = 0x0080;
inline constexpr UINT EV_RING = 0x0100;

// Notifications to the owner: wParam 0, lParam the port number, sent when the monitor woke for
// received data and the event is in the port's event mask.
inline constexpr UINT kMsgBreak = 1025;
inline constexpr UINT kMsgCts = 1026;
inline constexpr UINT kMsgLineError = 1028;
inline constexpr UINT kMsgRing = 1029;
inline constexpr UINT kMsgRxFlag = 1032;
// A received block: wParam the address of the bytes, lParam their count (1 to 4095). The block
// has room for one byte after the data and is valid only until the send returns.
inline constexpr UINT kMsgReceived = 1034;
// Posted once when the device went away (unplugged, hung up); wParam 0, lParam the port number.
// The monitor has stopped; the owner should Close the port.
inline constexpr UINT kMsgPortLost = 1041;

class CSerialPort {
  public:
    // The most bytes one 1034 block carries.
    static constexpr UINT kMaxBlock = 4095;

    CSerialPort();
    // Stops and joins a running monitor and closes the port. UI thread.
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens the device (a path such as /dev/ttyUSB0; an open port is closed first) under its lock
    // file and sets the line from the text "baud=%d parity=%c data=%d stop=%d". False when the
    // device cannot be opened, another process has it, or the line refuses a setting (the port
    // is then closed again, nothing half configured stays open); LastOpenFailure says why, no
    // message box. The port number is the device name's trailing digits, or 0 (always for a network
    // port). UI thread.
    bool OpenPort(CWindowWnd* owner, const std::string& device, UINT baud, char parity,
                  UINT dataBits, UINT stopBits, UINT eventMask, UINT txBufferSize);
    // Starts the monitor; true when it runs (a running one is kept). False on a closed port or
    // when no thread can be made. UI thread.
    bool StartMonitor();
    // Writes the bytes and returns once the kernel has taken them all (not when they left the
    // wire): the count written; a short count after a write error or when the line does not
    // drain within the time the bytes need at the baud rate plus a second; 0 on a closed port
    // and when line errors are pending (the unread bytes are then discarded). Any thread.
    UINT WriteBytes(const void* data, UINT length);
    // Hands the text (without terminator) or the bytes to the monitor to transmit, replacing what
    // was queued before. More than the transmit buffer size is refused whole, never cut: a cut
    // command would reach the unit as a different one. Nothing on a closed port. Any thread.
    void QueueWrite(const std::string& text);
    void QueueWrite(const void* data, UINT length);
    // Stops and joins the monitor (a pending send returns 0), closes the device and frees the
    // buffer. Nothing on a closed port. UI thread (never inside a handler of this port's sends).
    void Close();
    // Shows "WARNING:  <operation> Failed with the following error: ..." with the system's text
    // for the calling thread's last error and the port number; blocks until dismissed (or the
    // port closes). Any thread.
    void ReportError(const char* operation);

    // True from a successful OpenPort until Close. Any thread.
    bool IsOpen() const { return isOpen.load(); }
    // Why the last OpenPort could not open the device; empty after a successful one. UI thread.
    std::string LastOpenError() const { return lastOpenError; }
    const serial::OpenFailure& LastOpenFailure() const { return lastOpenFailure; }
    // Where lock files and the process table are looked for; before OpenPort. UI thread.
    void SetOwnershipRoots(const serial::OwnershipRoots& roots) { ownershipRoots = roots; }
    // The number carried as lParam of the notifications. Any thread once open.
    UINT PortNumber() const { return portNumber; }

  private:
    enum class BlockResult { Delivered, Nothing, Lost };

    void MonitorThread();
    void SendStatusNotifications();
    BlockResult ReceiveBlock(char* block);
    void TransmitQueued();
    LRESULT Notify(UINT msg, WPARAM wParam, LPARAM lParam);
    void ReportError(const char* operation, int error);
    // How long a write of length bytes may take at the configured rate (baudRate changes only
    // under the exclusive portLock while no monitor runs).
    int WriteTimeLimitMs(size_t length) const;

    UINT txLength = 0;
    std::atomic<bool> isOpen{false};
    std::thread monitorThread;
    // The handle's lifetime: writers hold it shared, OpenPort and Close exclusively. The monitor
    // never takes it: Close joins the monitor before it changes the handle.
    std::shared_mutex portLock;
    // One writer on the line at a time (worker, UI thread, queued transmit).
    std::mutex writeLock;
    // txBuffer and txLength, between QueueWrite and the monitor.
    std::mutex txLock;
    std::atomic<bool> monitorAlive{false};
    ui::SendGate gate;
    std::unique_ptr<serial::PortBackend> backend;
    CWindowWnd* owner = nullptr;
    UINT portNumber = 0;
    std::vector<unsigned char> txBuffer;
    UINT eventMask = 0;
    UINT txBufferSize = 0;
    UINT baudRate = 0;
    std::string lastOpenError;
    serial::OpenFailure lastOpenFailure;
    serial::OwnershipRoots ownershipRoots;
};
