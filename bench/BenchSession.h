#pragma once
// What the end-to-end benchmarks share: a frame on the program's English skin that stamps the
// moments a job passes through (taken from the queue, armed, answered, parsed into the form),
// connected over a pseudo-terminal to the virtual unit paced at a chosen baud rate, logged in
// and idle.
//
// Threads: everything here runs on the UI thread. The frame's hooks run inside its window
// procedure, which the worker's and the monitor's synchronous sends also execute on the UI
// thread; the virtual unit's own I/O thread is behind VirtualUnitHost's lock.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/FrameWnd.h"
#include "sim/VirtualUnitHost.h"
#include "tests/support/Dialogs.h"
#include "ui/Dialogs.h"

namespace bench {

using BenchClock = std::chrono::steady_clock;

// Seconds between two instants.
double Seconds(BenchClock::time_point from, BenchClock::time_point to);

// The frame with stamps. The stamps are overwritten by every job; a benchmark reads them after
// the job it started has finished.
class TimedFrame : public CM5Z30FrameWnd {
  public:
    // The worker goes while this override still exists.
    ~TimedFrame() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    int parsedListings = 0;          // 2126 handled
    int idleNotices = 0;             // the worker found the queue empty after work (2131 with 1, 2)
    BenchClock::time_point started;  // the pending kind went to settling: the worker took a job
    BenchClock::time_point armed;    // the line was quiet and the command is about to be written
    BenchClock::time_point answered;    // the receive path found the answer complete
    BenchClock::time_point parseBegan;  // 2126 entered: the listing is parsed, then shown
    BenchClock::time_point parsed;      // 2126 returned: the form is filled
    // Runs after every job step the worker had run on the UI thread (2140), when set.
    std::function<void()> afterJobStep;

  private:
    void NotePendingChange(JobType before, BenchClock::time_point now);
};

// A unit in configuration mode on a pseudo-terminal, paced at `baud`, and the frame on the
// real skin, shown, with the port open at the same baud and logged in ("+++").
class Session {
  public:
    // serve, when given, puts the unit's terminal behind something else (a network server) and
    // returns the name the frame opens instead, or "" with error set.
    Session(
        int baud, sim::UnitVariant variant = sim::UnitVariant::None,
        const std::function<std::string(const std::string& pty, std::string* error)>& serve = {});
    ~Session();

    // Raises "click" on the named control, as a press of the button does.
    void Click(const char* control);
    // "Load" and wait until the form is filled and the worker idle again; false on a time-out.
    bool Load(int timeoutMs);
    // Bytes the unit has sent since it started.
    std::uint64_t BytesFromUnit() const;

    bool ready = false;
    std::string error;
    int baud;
    double createSeconds = 0;  // building the window from the skin and starting the worker
    // Message boxes answered OK, file dialogs cancelled, reviews written: nobody is asked.
    testsupport::RecordingDialogs dialogs;
    ui::ScopedDialogs scopedDialogs{&dialogs};
    sim::VirtualUnitHost host;
    TimedFrame frame;
};

// The wire time of `bytes` at `baud`: 10 bits a byte (start, 8 data, stop), in seconds.
double WireSeconds(std::uint64_t bytes, int baud);

// Middle value (mean of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> values);
// Largest value; 0 for none.
double Worst(const std::vector<double>& values);

// A line scripts/bench gathers into its summary table:
//   RESULT|figure|measured|target|verdict
// verdict is "met", "MISSED by ..." or "-" where the figure has no target.
void PrintResult(const std::string& figure, const std::string& measured, const std::string& target,
                 const std::string& verdict);
// "met" when value <= limit, else "MISSED by X unit (Y %)".
std::string Verdict(double value, double limit, const char* unit, double scale = 1.0);

// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace bench
