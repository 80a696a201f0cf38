#pragma once
// What the serial tests share: a pseudo-terminal whose master side plays the unit, an owner
// window that records what the port sends it, message boxes recorded instead of shown, and
// waits that run the event loop until a condition holds.
#include <functional>
#include <string>
#include <vector>

#include "serial/SerialPort.h"
#include "tests/support/Dialogs.h"
#include "tests/support/EventLoop.h"
#include "ui/Dialogs.h"
#include "ui/Window.h"

namespace serialtest {

// A pseudo-terminal. slaveFd is the test's own descriptor on the port, opened before the port
// under test takes it exclusively: it observes the line settings and the queued input.
class Pty {
  public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return master >= 0 && slaveFd >= 0; }
    // Writes all bytes to the master (as the unit sending them).
    void Send(const std::string& bytes);
    // Reads from the master until count bytes came or timeoutMs passed.
    std::string Receive(size_t count, int timeoutMs);
    // Bytes queued on the port's receive side.
    int QueuedAtPort() const;
    void CloseMaster();

    int master = -1;
    int slaveFd = -1;
    std::string slavePath;
};

// Another program attached to a device without locking it: "sleep" with the device as stdin.
class HoldingProcess {
  public:
    explicit HoldingProcess(int deviceFd);
    ~HoldingProcess();  // kills and reaps it
    HoldingProcess(const HoldingProcess&) = delete;
    HoldingProcess& operator=(const HoldingProcess&) = delete;
    int pid = -1;
};

// The PID of a process that has ended and been reaped: a stale lock's owner.
int EndedProcessPid();

// The port's owner: records every message the port sends or posts, in order.
class RecordingOwner : public CWindowWnd {
  public:
    RecordingOwner();
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    std::string Received() const;
    int CountOf(UINT msg) const;

    std::vector<UINT> messages;       // every port message, in arrival order
    std::vector<std::string> blocks;  // the bytes of each 1034
    std::vector<LPARAM> lostLParams;  // lParam of each kMsgPortLost
};

using testsupport::RecordingDialogs;

using testsupport::ProcessCpuMs;
using testsupport::RunEventsFor;
using testsupport::WaitUntil;
// Waits, without running the event loop, until the port's receive queue satisfies test.
bool WaitForQueue(const Pty& pty, const std::function<bool(int)>& test, int timeoutMs);

}  // namespace serialtest
