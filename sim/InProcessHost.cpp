// The unit on the in-process line: the same loop as on a pseudo-terminal, waiting on the line's
// condition instead of a descriptor.
#include <algorithm>

#include "sim/InProcessLine.h"
#include "sim/VirtualUnitHost.h"

namespace sim {

namespace {

// As on a pseudo-terminal: at high speeds a byte lasts less than a millisecond, and waking for
// each would only burn the CPU.
constexpr auto kMinimumWait = std::chrono::milliseconds(1);
// Waits without a deadline still end now and then, so nothing rests on a single wake-up.
constexpr auto kLongestWait = std::chrono::seconds(1);

}  // namespace

bool VirtualUnitHost::StartInProcess(std::string*) {
    inProcess = InProcessLine::Make();
    devicePath = inProcess->Name();
    return true;
}

void VirtualUnitHost::RunInProcess() {
    const std::shared_ptr<InProcessLine> line = inProcess;
    std::string input;
    while (true) {
        const TimePoint now = UnitClock::now();
        TimePoint deadline;
        bool cut = false;
        std::string output;
        {
            std::lock_guard guard(lock);
            if (stopping) return;
            if (!input.empty()) unit->Feed(input, now);
            unit->Advance(now);
            output = unit->TakeOutput();
            deadline = unit->NextDeadline();
            cut = unit->Mode() == UnitMode::Unplugged;
        }
        line->SendToProgram(output);
        if (cut) {
            // The bytes before the cut are the program's already: it reads them, then the end.
            CloseLine();
            return;
        }
        const auto steady = std::chrono::steady_clock::now();
        auto wait = std::chrono::duration_cast<std::chrono::steady_clock::duration>(kLongestWait);
        if (deadline != TimePoint::max()) {
            auto left = std::max<Duration>(deadline - UnitClock::now(), Duration::zero());
            if (left > Duration::zero()) left = std::max<Duration>(left, kMinimumWait);
            wait = std::min(wait, std::chrono::duration_cast<decltype(wait)>(left));
        }
        input = line->WaitForProgram(steady + wait);
    }
}

}  // namespace sim
