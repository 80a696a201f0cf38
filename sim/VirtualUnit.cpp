#include "sim/VirtualUnit.h"

#include <algorithm>

#include "sim/HardValues.h"
#include "sim/TextUtil.h"
#include "sim/UnitTexts.h"

namespace sim {

namespace {
// The unit's line buffer; a longer line is answered ERROR.
constexpr std::size_t kLineLimit = 512;
constexpr std::size_t kRecordLimit = 10000;
constexpr std::size_t kEventLogLimit = 32;
}  // namespace

VirtualUnit::VirtualUnit(UnitOptions unitOptions, TimePoint now)
    : options(std::move(unitOptions)),
      store(options.variant, options.loraVersion),
      faults(options.seed),
      transmitter(options.baud),
      poweredAt(now) {
    if (options.hardValues) {
        for (const HardValue& hard : HardValues()) store.Force(hard.command, hard.value);
    }
    if (options.oddValues) StoreOddValues(store);
    StoreLongValues(store, options.longValues);
    Log("power on", now);
    switch (options.start) {
        case UnitStart::PowerOn:
            PowerOn(now);
            break;
        case UnitStart::Working:
            mode = UnitMode::Working;
            break;
        case UnitStart::Configuration:
            EnterConfiguration(now);
            break;
    }
    Advance(now);
}

void VirtualUnit::PowerOn(TimePoint now) {
    mode = UnitMode::Prompting;
    Say(BannerText(*store.ByLabel("Device Type:")), now);
    nextPrompt = now;
    promptEnd = now + options.promptWindow;
}

void VirtualUnit::EnterWorking(TimePoint at, bool announce) {
    mode = UnitMode::Working;
    plusRun = 0;
    line.clear();
    lineOverflow = false;
    if (announce) Say(kWorkingText, at);
}

void VirtualUnit::EnterConfiguration(TimePoint now) {
    mode = UnitMode::Configuration;
    line.clear();
    lineOverflow = false;
    lastCommand = now;
    ++counters.configEntries;
    Log("enter setting", now);
}

void VirtualUnit::Feed(std::string_view bytes, TimePoint now) {
    Advance(now);
    if (mode == UnitMode::Unplugged) return;
    counters.bytesIn += bytes.size();
    for (char c : bytes) {
        if (mode == UnitMode::Unplugged) break;
        if (options.echo) echo += c;
        switch (mode) {
            case UnitMode::Prompting:
                FeedPrompting(c, now);
                break;
            case UnitMode::Working:
                FeedWorking(c, now);
                break;
            case UnitMode::Configuration:
                FeedConfiguration(c, now);
                break;
            case UnitMode::Unplugged:
                break;
        }
    }
    FlushEcho(now);
}

void VirtualUnit::FeedPrompting(char c, TimePoint now) {
    if (c == 's') Escape("s", CommandListText(), now);
}

void VirtualUnit::FeedWorking(char c, TimePoint now) {
    // Everything else is payload for the far end, which this unit has none of.
    plusRun = c == '+' ? plusRun + 1 : 0;
    if (plusRun == 3) {
        plusRun = 0;
        Escape("+++", kEnterSettingText, now);
    }
}

void VirtualUnit::FeedConfiguration(char c, TimePoint now) {
    if (c == '\r' || c == '\n') {
        if (!line.empty() || lineOverflow) HandleLine(now);
        return;
    }
    if (line.size() >= kLineLimit) {
        if (FindNoCase(line, "AT") != std::string::npos) {
            lineOverflow = true;  // a command too long for the buffer
            return;
        }
        // Only noise so far (a reader prompting with "s" for minutes): forget it, but keep
        // the tail in case a command or "+++" has just begun.
        line.erase(0, line.size() - 2);
    }
    line += c;
    // "+++" sent to a unit that is already in setting mode still gets its answer, so a reader
    // that lost track of the mode finds it again.
    if (line.size() >= 3 && line.compare(line.size() - 3, 3, "+++") == 0 &&
        FindNoCase(line, "AT") == std::string::npos) {
        line.clear();
        Escape("+++", kEnterSettingText, now);
    }
}

void VirtualUnit::HandleLine(TimePoint now) {
    std::string received;
    received.swap(line);
    const bool overflow = lineOverflow;
    lineOverflow = false;
    ++counters.lines;
    Record(receivedLines, received);
    // Bytes before the command (the "s" a reader keeps sending while it prompts) are noise.
    const std::size_t at = FindNoCase(received, "AT");
    if (at == std::string::npos) return;
    const std::string command = received.substr(at);
    ++counters.commands;
    Record(receivedCommands, command);
    lastCommand = now;
    if (overflow) {
        Answer(command, std::string(kErrorText), Result::Error, CommandFaults{}, now);
        return;
    }
    RunCommand(command, now);
}

void VirtualUnit::FlushEcho(TimePoint now) {
    if (echo.empty()) return;
    transmitter.Queue(std::move(echo), now);
    echo.clear();
}

void VirtualUnit::Say(std::string_view text, TimePoint at) {
    FlushEcho(at);
    transmitter.Queue(std::string(text), at);
}

void VirtualUnit::Record(std::deque<std::string>& list, std::string entry) {
    list.push_back(std::move(entry));
    if (list.size() > kRecordLimit) list.pop_front();
}

void VirtualUnit::Log(std::string_view event, TimePoint at) {
    std::string stamp = clock.Text(at);
    if (stamp.empty()) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(at - poweredAt);
        stamp = "uptime " + std::to_string(ms.count() / 1000) + "." +
                std::to_string(ms.count() % 1000 / 100) + "s";
    }
    eventLog.push_back(stamp + " " + std::string(event));
    if (eventLog.size() > kEventLogLimit) eventLog.pop_front();
}

void VirtualUnit::Reboot(TimePoint now) {
    Advance(now);
    Restart(now);
    Advance(now);
}

void VirtualUnit::Restart(TimePoint now) {
    if (mode == UnitMode::Unplugged) return;
    ++counters.reboots;
    transmitter.Clear();
    echo.clear();
    line.clear();
    lineOverflow = false;
    plusRun = 0;
    Log("reboot", now);
    PowerOn(now);
}

void VirtualUnit::Unplug(TimePoint now) {
    Advance(now);
    mode = UnitMode::Unplugged;
    transmitter.LimitTotal(transmitter.Sent());
}

void VirtualUnit::CheckCut() {
    if (transmitter.LimitReached()) mode = UnitMode::Unplugged;
}

bool VirtualUnit::AddFault(const FaultRule& rule, TimePoint now) {
    Advance(now);
    switch (rule.kind) {
        case FaultKind::Value:
            return store.Force(rule.target, rule.value);
        case FaultKind::Unplug:
            transmitter.LimitTotal(transmitter.Sent() + static_cast<std::uint64_t>(rule.amount));
            CheckCut();
            return true;
        case FaultKind::Reboot:
            if (rule.target.empty()) {
                rebootAt = now + std::chrono::milliseconds(rule.amount);
                return true;
            }
            break;
        default:
            break;
    }
    faults.Add(rule);
    return true;
}

bool VirtualUnit::SetStoredValue(std::string_view commandOrLabel, std::string_view value) {
    return store.Force(commandOrLabel, value);
}

TimePoint VirtualUnit::NextEvent() const {
    TimePoint next = rebootAt.value_or(TimePoint::max());
    if (mode == UnitMode::Prompting) {
        next = std::min(next, nextPrompt < promptEnd ? nextPrompt : promptEnd);
    } else if (mode == UnitMode::Configuration) {
        next = std::min(next, lastCommand + options.inactivityTimeout);
    }
    return next;
}

void VirtualUnit::RunEvent(TimePoint at) {
    if (rebootAt && *rebootAt <= at) {
        rebootAt.reset();
        Restart(at);
    } else if (mode == UnitMode::Prompting && nextPrompt < promptEnd && nextPrompt <= at) {
        Say(kPromptText, nextPrompt);
        ++counters.prompts;
        nextPrompt += options.promptPeriod;
    } else if (mode == UnitMode::Prompting) {
        EnterWorking(promptEnd, true);
    } else if (mode == UnitMode::Configuration) {
        ++counters.inactivityQuits;
        Say(kTimeoutText, at);
        Log("setting time-out", at);
        EnterWorking(at, false);
    }
}

void VirtualUnit::Advance(TimePoint now) {
    if (mode == UnitMode::Unplugged) return;
    // Timers fire in time order, each with the line as it was at that moment, so a late
    // caller still gets the same bytes at the same wire times.
    for (TimePoint at = NextEvent(); at <= now; at = NextEvent()) {
        transmitter.Advance(at);
        CheckCut();
        if (mode == UnitMode::Unplugged) return;
        RunEvent(at);
    }
    transmitter.Advance(now);
    CheckCut();
}

std::string VirtualUnit::TakeOutput() {
    return transmitter.Take();
}

TimePoint VirtualUnit::NextDeadline() const {
    if (mode == UnitMode::Unplugged) return TimePoint::max();
    return std::min(NextEvent(), transmitter.NextDeadline());
}

std::optional<std::string> VirtualUnit::StoredValue(std::string_view command) const {
    return store.ByCommand(command);
}

std::optional<std::string> VirtualUnit::StoredValueByLabel(std::string_view label) const {
    return store.ByLabel(label);
}

std::vector<std::string> VirtualUnit::ReceivedLines() const {
    return {receivedLines.begin(), receivedLines.end()};
}

std::vector<std::string> VirtualUnit::ReceivedCommands() const {
    return {receivedCommands.begin(), receivedCommands.end()};
}

std::vector<std::string> VirtualUnit::EventLog() const {
    return {eventLog.begin(), eventLog.end()};
}

UnitCounters VirtualUnit::Counters() const {
    UnitCounters result = counters;
    result.bytesOut = transmitter.Sent();
    result.bytesLost += faults.DroppedBytes();
    return result;
}

}  // namespace sim
