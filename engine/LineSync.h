#pragma once
// Which command a result line answers. The unit answers every command with one result line (an
// OK or ERROR line, after any text), in the order the commands came. An answer may come later
// than its command's time-out and the grace after it; it must then not pass for the answer of a
// command written after it. So every written command is owed its result line until it came;
// while an earlier command's is still owed the line is out of step, and the worker writes a
// probe ("AT") before its next command: the probe's answer comes after every owed one, so once
// the line owes nothing the next answer is the next command's.
//
// A unit whose answers came later than the grace answers slowly: how long the late answer took
// is added to every later time-out, once a probe showed the late answer to be the one owed (an
// answer lost on the line would otherwise pass for a slow one). While the probe waits, a late
// answer lengthens its wait only as far as twice the unit's quickest answer in time: a unit that
// answered at once before is not waited for as if it had become that slow.
//
// Threads: UI thread only (the receive path, and the worker through its calls on the UI thread).
#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "engine/Clock.h"

struct LineSync {
    struct Owed {
        Clock::TimePoint writtenAt;
        bool pastGrace = false;  // its time-out and the grace passed without it
    };
    std::deque<Owed> owed;
    std::string partialLine;  // received text after the last line end, for the next block
    // How much later than its time-out this unit has answered, added to every time-out.
    std::chrono::milliseconds allowance{0};
    // The same, from late answers counted while a probe waits; kept once the probe's own
    // answer came, dropped when the line is declared in step without it.
    std::chrono::milliseconds probeAllowance{0};
    int countedDuringProbe = 0;
    // The quickest answer that came in time; none before one came.
    std::optional<std::chrono::milliseconds> quickest;
};

// A command went out on the line: its result line is owed.
void NoteCommandWritten(LineSync& sync);
// Counts the result lines a received block completes (OK, ERROR, "+CME ERROR:", "+CMS ERROR:"
// standing on lines of their own), each paying the oldest owed answer.
void CountResultLines(LineSync& sync, std::string_view block);
// True when no answer is owed: the next result line will be the next command's.
bool LineInStep(const LineSync& sync);
// The newest command's time-out and grace passed without its answer.
void MarkNewestPastGrace(LineSync& sync);
// A probe is written: what it learns is counted from here.
void StartProbe(LineSync& sync);
// The probe's answer came after every owed one: the line is in step and the unit's lateness is
// taken into the allowance.
void EndProbeInStep(LineSync& sync);
// Whether any result line came since the probe was written.
bool ProbeHeardAnything(const LineSync& sync);
// Nothing owed can come any more (a greeting, a start-up prompt, the unit's own time-out, a
// port opened or closed, a probe that waited long enough): the line is in step.
void ForgetOwedAnswers(LineSync& sync);
// The allowance a waiting probe works with: the larger of the kept one and the probe's own, the
// latter at most twice the quickest answer in time.
std::chrono::milliseconds ProbeAllowance(const LineSync& sync);
