#include "sim/VirtualUnitHost.h"

#include "sim/InProcessLine.h"
#include "sim/UnitParameters.h"

namespace sim {

namespace {

bool ValidOptions(const UnitOptions& options, std::string* error) {
    if (options.baud < kMinBaud || options.baud > kMaxBaud) {
        *error = "baud rate must be between " + std::to_string(kMinBaud) + " and " +
                 std::to_string(kMaxBaud);
        return false;
    }
    if (options.promptWindow.count() < 0 || options.promptPeriod.count() <= 0 ||
        options.inactivityTimeout.count() <= 0) {
        *error = "prompt window, prompt period and time-out must be positive";
        return false;
    }
    return true;
}

}  // namespace

VirtualUnitHost::VirtualUnitHost(UnitOptions unitOptions, UnitLine line)
    : options(std::move(unitOptions)), lineKind(line) {}

VirtualUnitHost::~VirtualUnitHost() {
    Stop();
}

void VirtualUnitHost::SetUnplugCallback(std::function<void()> callback) {
    onUnplug = std::move(callback);
}

bool VirtualUnitHost::Start(std::string* error) {
    std::string ignored;
    if (!error) error = &ignored;
    if (thread.joinable() || unit) {
        *error = "the virtual unit is already started";
        return false;
    }
    if (!ValidOptions(options, error)) return false;
    const bool started = lineKind == UnitLine::Pty ? StartPty(error) : StartInProcess(error);
    if (!started) return false;
    {
        std::lock_guard guard(lock);
        const TimePoint now = UnitClock::now();
        unit.emplace(options, now);
        for (const FaultRule& rule : startFaults) unit->AddFault(rule, now);
        startFaults.clear();
        stopping = false;
    }
    thread = lineKind == UnitLine::Pty ? std::thread(&VirtualUnitHost::RunPty, this)
                                       : std::thread(&VirtualUnitHost::RunInProcess, this);
    return true;
}

void VirtualUnitHost::Stop() {
    {
        std::lock_guard guard(lock);
        stopping = true;
        WakeLocked();
    }
    if (thread.joinable()) thread.join();
    std::lock_guard guard(lock);
    ClosePtyLocked();
}

std::string VirtualUnitHost::DevicePath() const {
    return devicePath;
}

void VirtualUnitHost::WakeLocked() {
    if (inProcess) inProcess->WakeUnit();
    WakePtyLocked();
}

void VirtualUnitHost::CloseLine() {
    {
        std::lock_guard guard(lock);
        ClosePtyLocked();
        if (inProcess) inProcess->Cut();
        lineCut = true;
    }
    if (onUnplug) onUnplug();
}

void VirtualUnitHost::Reboot() {
    {
        std::lock_guard guard(lock);
        if (unit) unit->Reboot(UnitClock::now());
        WakeLocked();
    }
}

void VirtualUnitHost::Unplug() {
    {
        std::lock_guard guard(lock);
        if (unit) unit->Unplug(UnitClock::now());
        WakeLocked();
    }
}

bool VirtualUnitHost::AddFault(const FaultRule& rule, std::string* error) {
    if (rule.kind == FaultKind::Value && FindParameterByCommand(rule.target) < 0 &&
        FindParameterByLabel(rule.target) < 0) {
        if (error) *error = "no parameter is written by or listed as '" + rule.target + "'";
        return false;
    }
    std::lock_guard guard(lock);
    if (!unit) {
        // Armed at power-on, so counts such as unplug=N start with the first byte.
        startFaults.push_back(rule);
        return true;
    }
    unit->AddFault(rule, UnitClock::now());
    WakeLocked();
    return true;
}

bool VirtualUnitHost::AddFault(std::string_view text, std::string* error) {
    FaultRule rule;
    if (!ParseFaultRule(text, &rule, error)) return false;
    return AddFault(rule, error);
}

bool VirtualUnitHost::SetStoredValue(std::string_view commandOrLabel, std::string_view value) {
    std::lock_guard guard(lock);
    return unit && unit->SetStoredValue(commandOrLabel, value);
}

UnitMode VirtualUnitHost::Mode() const {
    std::lock_guard guard(lock);
    return unit ? unit->Mode() : UnitMode::Unplugged;
}

bool VirtualUnitHost::LineCut() const {
    std::lock_guard guard(lock);
    return lineCut;
}

std::optional<std::string> VirtualUnitHost::StoredValue(std::string_view command) const {
    std::lock_guard guard(lock);
    return unit ? unit->StoredValue(command) : std::nullopt;
}

std::optional<std::string> VirtualUnitHost::StoredValueByLabel(std::string_view label) const {
    std::lock_guard guard(lock);
    return unit ? unit->StoredValueByLabel(label) : std::nullopt;
}

std::vector<std::string> VirtualUnitHost::ReceivedLines() const {
    std::lock_guard guard(lock);
    return unit ? unit->ReceivedLines() : std::vector<std::string>{};
}

std::vector<std::string> VirtualUnitHost::ReceivedCommands() const {
    std::lock_guard guard(lock);
    return unit ? unit->ReceivedCommands() : std::vector<std::string>{};
}

UnitCounters VirtualUnitHost::Counters() const {
    std::lock_guard guard(lock);
    UnitCounters counters = unit ? unit->Counters() : UnitCounters{};
    counters.bytesLost += undelivered;
    return counters;
}

std::string VirtualUnitHost::ClockText() const {
    std::lock_guard guard(lock);
    return unit ? unit->ClockText(UnitClock::now()) : std::string();
}

void VirtualUnitHost::Inspect(const std::function<void(const VirtualUnit&)>& inspect) const {
    std::lock_guard guard(lock);
    if (unit) inspect(*unit);
}

}  // namespace sim
