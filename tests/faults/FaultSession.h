#pragma once
// What the fault scenarios share: the virtual unit on a pseudo-terminal and a frame on the
// program's English skin connected to it at 115200 baud, with the real worker and serial
// driver. The worker's time-outs run on a fake clock, so a time-out costs no real seconds: a
// job waits until the test lets its time pass. Waits run the Qt event loop.
//
// Threads: everything here on the test's (UI) thread, except the unplug callback, which the
// unit's I/O thread calls and which only stores a time.
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/FrameWnd.h"
#include "engine/Clock.h"
#include "sim/VirtualUnitHost.h"
#include "tests/support/Dialogs.h"
#include "tests/support/EventLoop.h"
#include "ui/Control.h"
#include "ui/Dialogs.h"

namespace faulttest {

using SteadyTime = std::chrono::steady_clock::time_point;

// A label of the English skin's Language.ini, as the program logs it.
std::string Label(const char* section, const char* key);
// The prefix of every command line in the log ("Send:").
std::string SendPrefix();

// The frame, recording what reaches its log (with the time of arrival) and the listings it
// parses; every message still goes to the program's own handling.
class FaultFrame : public CM5Z30FrameWnd {
  public:
    // Records every finished job (set before the worker starts, as the command line does).
    FaultFrame();
    // The worker goes while the whole frame, this override included, still exists.
    ~FaultFrame() override { StopWorker(); }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    struct LogBlock {
        SteadyTime at;
        std::string text;
    };
    std::string log;
    std::vector<LogBlock> logBlocks;
    int parsedListings = 0;
    std::vector<int> rxLengthAtParse;
    int idleNotices = 0;             // the worker found the queue empty after jobs (2131 1, 2)
    std::vector<int> promptPeriods;  // timer 101's period after each received block, -1 off
    struct Finished {
        std::string command;
        JobOutcome outcome;
        SteadyTime at;
    };
    std::vector<Finished> finished;
    // Each step the progress bar showed, in order, and its value then.
    struct Step {
        std::string text;
        int percent;
    };
    std::vector<Step> progressSteps;
    // Runs after every message the frame handled (a test's hand on the window).
    std::function<void()> afterMessage;
};

// File dialogs give pathToGive (cancelled when it is empty); message boxes are recorded.
using ScriptedDialogs = testsupport::RecordingDialogs;

// A unit that is already in setting mode (no prompt window to wait through).
sim::UnitOptions ConfigurationUnit();

class Session {
  public:
    // Starts the unit and makes the frame; with connect, also opens the port, logs in and
    // reads the unit once (ready tells whether all of that worked, error why not).
    explicit Session(sim::UnitOptions options = ConfigurationUnit(), bool connect = true);

    // Clicks Open; true when the port opened.
    bool Open();
    // Logs in with "+++" and waits until the worker went idle afterwards.
    bool LogIn();
    // "Load", and waits until the worker ran it and found the queue empty again.
    bool Read();
    // Does action and waits until the worker has run every job it caused.
    bool Settle(const std::function<void()>& action, int ms = 15000);
    // Runs the event loop, letting the worker's waits time out whenever it waits, until
    // done() holds or ms of real time passed; returns done(). Only where no answer is due.
    bool ExpireWaitsUntil(const std::function<bool()>& done, int ms = 10000);
    // Waits until the unit received command and the worker waits for its answer, then lets
    // the job's whole time-out pass (grown by a late unit's allowance); false when that did not
    // happen within ms.
    bool TimeOutWhenSent(const std::string& command, std::chrono::milliseconds timeout,
                         int ms = 5000);

    void Click(const char* control);
    CControlUI* Control(const char* name);
    bool AddFault(const char* text);
    // Hands bytes to the receive path as the monitor would (with the spare byte after them).
    void Feed(const std::string& bytes);
    // The commands the unit received after the first `from`.
    std::vector<std::string> CommandsSince(std::size_t from) const;
    // The parameter values the frame holds now, by name.
    std::map<std::string, std::string> Values() const;

    FakeClock clock;
    ScopedEngineClock scopedClock{&clock};
    ScriptedDialogs dialogs;
    ui::ScopedDialogs scopedDialogs{&dialogs};
    std::atomic<std::int64_t> cutAtNs{0};  // steady-clock time the line was cut, 0 before
    sim::VirtualUnitHost host;
    FaultFrame frame;
    // The frame's values after the first read: what a later check compares changes against.
    std::map<std::string, std::string> readValues;
    std::string error;
    bool ready = false;
};

// The unit's label for a program entry's response label (without its leading CR LF).
std::string UnitLabel(const std::string& responseLabel);
// Every listed parameter whose frame value differs from the unit's stored value, as
// "name: frame | unit" lines; empty when the frame shows the unit as it is.
std::vector<std::string> ValuesDifferingFromUnit(Session& s);

using testsupport::RunEventsFor;
using testsupport::WaitUntil;
// The end of a long text, for failure messages.
std::string Tail(const std::string& text, std::size_t size = 2000);
using testsupport::Occurrences;
using testsupport::ProcessCpuMs;

}  // namespace faulttest
