#pragma once
// The virtual unit: the unit's side of the serial dialogue as a state machine. It is fed the
// bytes it receives and the time, and produces the bytes it sends at its line speed; it has
// no threads, no sleeps and no clock of its own, so tests drive it with made-up times.
//
// Threads: none inside. Every call must come from one thread at a time; VirtualUnitHost
// serialises its I/O thread and the test thread with a lock.
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/FaultPlan.h"
#include "sim/FaultRule.h"
#include "sim/ParameterStore.h"
#include "sim/Transmitter.h"
#include "sim/UnitClock.h"
#include "sim/UnitTypes.h"

namespace sim {

class VirtualUnit {
  public:
    // Powers the unit on at `now` as the options say (banner and prompt window, or straight
    // into working or configuration mode).
    VirtualUnit(UnitOptions options, TimePoint now);

    // Takes bytes that arrived at `now` and reacts to them.
    void Feed(std::string_view bytes, TimePoint now);
    // Lets the unit's timers and transmitter run up to `now`.
    void Advance(TimePoint now);
    // The bytes that went out on the line since the last call.
    std::string TakeOutput();
    // When the unit next has something to do (a byte to finish, a prompt, a time-out);
    // TimePoint::max() when it only waits for input.
    TimePoint NextDeadline() const;

    // Restarts the unit at `now`: unsent output is lost, stored values are kept, banner and
    // prompt window follow.
    void Reboot(TimePoint now);
    // Cuts the line at `now`: nothing more goes out, nothing more is taken in.
    void Unplug(TimePoint now);
    // Arms a fault from `now` on; returns false when a value fault names no parameter.
    bool AddFault(const FaultRule& rule, TimePoint now);
    // Stores any bytes as the value of the parameter written by `commandOrLabel` (or listed
    // under that label), unchecked; returns false when no parameter matches.
    bool SetStoredValue(std::string_view commandOrLabel, std::string_view value);

    // The unit's mode.
    UnitMode Mode() const { return mode; }
    // The stored value of the parameter written by `command` (case ignored), if any.
    std::optional<std::string> StoredValue(std::string_view command) const;
    // The stored value listed under `label` (leading CR LF optional), if any.
    std::optional<std::string> StoredValueByLabel(std::string_view label) const;
    // Every non-empty line received in configuration mode, as received (latest 10000).
    std::vector<std::string> ReceivedLines() const;
    // The commands received, each from its "AT" on (latest 10000).
    std::vector<std::string> ReceivedCommands() const;
    // Counters since power-on.
    UnitCounters Counters() const;
    // The unit's clock at `now` as "yyyy/mm/dd,hh:mm:ss", empty until AT+EXCCLK set it.
    std::string ClockText(TimePoint now) const { return clock.Text(now); }
    // The event log the unit prints for at+READFILELOG, oldest first.
    std::vector<std::string> EventLog() const;
    // The options the unit was made with.
    const UnitOptions& Options() const { return options; }

  private:
    // Input by mode.
    void FeedPrompting(char c, TimePoint now);
    void FeedWorking(char c, TimePoint now);
    void FeedConfiguration(char c, TimePoint now);
    void HandleLine(TimePoint now);
    // Commands (UnitCommands.cpp).
    void RunCommand(std::string_view command, TimePoint now);
    void Escape(std::string_view trigger, std::string_view greeting, TimePoint now);
    // Whether the options make the unit answer OK to a write of `word` and keep its value.
    bool KeepsOldValue(std::string_view word) const;

    enum class Result { Ok, Error, Text };
    // Queues an answer to `command` as the faults shape it.
    void Answer(std::string_view command, std::string text, Result result,
                const CommandFaults& commandFaults, TimePoint now);
    // Queues unsolicited text (banner, prompt, time-out notice).
    void Say(std::string_view text, TimePoint at);
    void FlushEcho(TimePoint now);
    void Record(std::deque<std::string>& list, std::string entry);
    void Log(std::string_view event, TimePoint at);

    // Timers.
    void PowerOn(TimePoint now);
    void Restart(TimePoint now);
    void EnterWorking(TimePoint at, bool announce);
    void EnterConfiguration(TimePoint now);
    TimePoint NextEvent() const;
    void RunEvent(TimePoint at);
    void CheckCut();

    UnitOptions options;
    ParameterStore store;
    FaultPlan faults;
    Transmitter transmitter;
    UnitClockSetting clock;
    UnitMode mode = UnitMode::Prompting;
    TimePoint poweredAt{};
    TimePoint nextPrompt{};
    TimePoint promptEnd{};
    TimePoint lastCommand{};
    std::optional<TimePoint> rebootAt;
    std::string line;
    bool lineOverflow = false;
    int plusRun = 0;
    std::string echo;
    std::deque<std::string> receivedLines;
    std::deque<std::string> receivedCommands;
    std::deque<std::string> eventLog;
    UnitCounters counters;
};

}  // namespace sim
