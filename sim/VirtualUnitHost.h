#pragma once
// Runs a VirtualUnit on a line a program opens (DevicePath) as it would open a serial port and
// talks to the unit with its real serial code: a pseudo-terminal on Linux, a line inside the
// process on Windows (sim/InProcessLine.h), which has no pseudo-terminals.
//
// Threads: Start, Stop and the destructor from the owning thread. The host's own I/O thread
// reads the master, feeds the unit, and writes its output as its wire time passes. Every
// other public call (inspection, faults, reboot, unplug) may come from any thread at any
// time: they take the lock that also guards the unit's use by the I/O thread, and wake that
// thread when they change what it must do.
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/FaultRule.h"
#include "sim/UnitTypes.h"
#include "sim/VirtualUnit.h"

namespace sim {

class InProcessLine;

// The line a unit is run on.
enum class UnitLine { Pty, InProcess };
// The system's own: a pseudo-terminal on Linux, the in-process line on Windows.
UnitLine DefaultUnitLine();

class VirtualUnitHost {
  public:
    explicit VirtualUnitHost(UnitOptions options, UnitLine line = DefaultUnitLine());
    ~VirtualUnitHost();
    VirtualUnitHost(const VirtualUnitHost&) = delete;
    VirtualUnitHost& operator=(const VirtualUnitHost&) = delete;

    // Opens the line, powers the unit on and starts the I/O thread; returns false with a reason
    // in `error` when the options are invalid or the line cannot be made.
    // Owning thread; once only.
    bool Start(std::string* error);
    // Stops the I/O thread and closes the terminal; the unit's state stays inspectable.
    // Owning thread; safe to call twice.
    void Stop();
    // The name a program opens ("/dev/pts/N", "VIRTUAL1"); empty before Start. Any thread.
    std::string DevicePath() const;
    // Sets a callback the I/O thread calls once after the line was cut (unplug). Call before
    // Start.
    void SetUnplugCallback(std::function<void()> callback);

    // Reboots the unit now. Any thread.
    void Reboot();
    // Cuts the line now: the master side is closed, readers see a hang-up. Any thread.
    void Unplug();
    // Arms a fault from now on (before Start: from power-on); false with a reason on a bad
    // rule. Any thread.
    bool AddFault(const FaultRule& rule, std::string* error);
    // Parses and arms a fault ("error@At+CSQ/2"); false with a reason. Any thread.
    bool AddFault(std::string_view text, std::string* error);
    // Stores any value unchecked under a command word or label; false when none matches.
    // Any thread.
    bool SetStoredValue(std::string_view commandOrLabel, std::string_view value);

    // The unit's mode. Any thread.
    UnitMode Mode() const;
    // True once the line has been cut and the master closed. Any thread.
    bool LineCut() const;
    // The stored value of the parameter written by `command`. Any thread.
    std::optional<std::string> StoredValue(std::string_view command) const;
    // The stored value listed under `label`. Any thread.
    std::optional<std::string> StoredValueByLabel(std::string_view label) const;
    // The non-empty lines received in configuration mode. Any thread.
    std::vector<std::string> ReceivedLines() const;
    // The commands received, each from its "AT" on. Any thread.
    std::vector<std::string> ReceivedCommands() const;
    // The unit's counters. Any thread.
    UnitCounters Counters() const;
    // The unit's clock now, empty while unset. Any thread.
    std::string ClockText() const;
    // Runs `inspect` on the unit under the lock (for checks the calls above do not cover).
    // Any thread; `inspect` must not call back into the host.
    void Inspect(const std::function<void(const VirtualUnit&)>& inspect) const;

  private:
    // The pseudo-terminal (sim/posix/PtyLine.cpp; Windows has none).
    bool StartPty(std::string* error);
    void RunPty();
    void WakePtyLocked();
    void ClosePtyLocked();
    void LetReaderDrain(std::string& pending);
    // The in-process line (sim/InProcessHost.cpp).
    bool StartInProcess(std::string* error);
    void RunInProcess();

    void WakeLocked();  // caller holds `lock`
    void CloseLine();

    UnitOptions options;
    UnitLine lineKind;
    mutable std::mutex lock;
    std::optional<VirtualUnit> unit;     // guarded by `lock`
    bool lineCut = false;                // guarded by `lock`
    std::uint64_t undelivered = 0;       // output lost because nobody read it; guarded by `lock`
    std::vector<FaultRule> startFaults;  // armed before Start; guarded by `lock`
    std::string devicePath;              // written by Start before the thread exists
    std::function<void()> onUnplug;
    // The descriptors are used by the I/O thread; they are closed under `lock` (by the I/O
    // thread on a cut, by Stop after the join).
    int masterFd = -1;
    int slaveFd = -1;  // held open so the master never sees a hang-up between client opens
    int wakeFd = -1;   // eventfd: stop and changes from other threads
    std::shared_ptr<InProcessLine> inProcess;  // the in-process line, made by Start
    bool stopping = false;                     // guarded by `lock`
    std::thread thread;
};

}  // namespace sim
