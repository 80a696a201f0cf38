#include "engine/LineSync.h"

#include <algorithm>

#include "engine/AnswerMatch.h"

namespace {

// A line that long is no result line; the carried part never grows past it.
constexpr std::size_t kLongestResultLine = 64;
// A unit that answers later than this is treated as not answering at all.
constexpr std::chrono::milliseconds kMostAllowance{60000};

bool IsResultLine(std::string_view line) {
    std::string text(line);
    text += "\r\n";
    return HasOkLine(text) || HasErrorLine(text);
}

}  // namespace

void NoteCommandWritten(LineSync& sync) {
    sync.owed.push_back({EngineClock().Now(), false});
}

void CountResultLines(LineSync& sync, std::string_view block) {
    for (char c : block) {
        if (c == '\0') continue;  // line noise, as the receive buffer leaves it out
        if (c != '\n') {
            if (sync.partialLine.size() < kLongestResultLine) sync.partialLine += c;
            continue;
        }
        std::string_view line(sync.partialLine);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (IsResultLine(line) && !sync.owed.empty()) {
            const LineSync::Owed answered = sync.owed.front();
            sync.owed.pop_front();
            ++sync.countedDuringProbe;
            const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                EngineClock().Now() - answered.writtenAt);
            if (!answered.pastGrace) {
                sync.quickest = std::min(sync.quickest.value_or(took), took);
            } else {
                sync.probeAllowance = std::min(std::max(sync.probeAllowance, took), kMostAllowance);
            }
        }
        sync.partialLine.clear();
    }
}

bool LineInStep(const LineSync& sync) {
    return sync.owed.empty();
}

void MarkNewestPastGrace(LineSync& sync) {
    if (!sync.owed.empty()) sync.owed.back().pastGrace = true;
}

void StartProbe(LineSync& sync) {
    sync.countedDuringProbe = 0;
}

void EndProbeInStep(LineSync& sync) {
    sync.allowance = std::max(sync.allowance, sync.probeAllowance);
    sync.probeAllowance = std::chrono::milliseconds(0);
}

bool ProbeHeardAnything(const LineSync& sync) {
    return sync.countedDuringProbe > 0;
}

void ForgetOwedAnswers(LineSync& sync) {
    sync.owed.clear();
    sync.probeAllowance = std::chrono::milliseconds(0);
}

std::chrono::milliseconds ProbeAllowance(const LineSync& sync) {
    const auto own =
        sync.quickest ? std::min(sync.probeAllowance, 2 * *sync.quickest) : sync.probeAllowance;
    return std::max(sync.allowance, own);
}
