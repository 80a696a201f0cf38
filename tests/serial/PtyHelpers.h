#pragma once
// What the serial tests share: a pseudo-terminal whose master side plays the unit, an owner
// window that records what the port sends it, message boxes recorded instead of shown, and
// waits that run the event loop until a condition holds.
#include <functional>
#include <string>
#include <vector>

#include "serial/SerialPort.h"
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

class RecordingDialogs : public ui::IDialogs {
  public:
    struct Box {
        std::string text;
        std::string caption;
        UINT flags;
    };
    int ShowMessageBox(const CStdString& text, const CStdString& caption, UINT flags) override;
    bool GetOpenFileName(const ui::FileDialogSpec&, CStdString*) override { return false; }
    bool GetSaveFileName(const ui::FileDialogSpec&, CStdString*) override { return false; }

    std::vector<Box> boxes;
};

// Runs the event loop until done() or timeoutMs; returns done(). Sleeps in the event loop, so
// only conditions that messages to the UI thread change are worth waiting for this way.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);
// Runs the event loop for the whole period.
void RunEventsFor(int ms);
// Waits, without running the event loop, until the port's receive queue satisfies test.
bool WaitForQueue(const Pty& pty, const std::function<bool(int)>& test, int timeoutMs);
// The process's CPU time so far, in milliseconds.
double ProcessCpuMs();

}  // namespace serialtest
