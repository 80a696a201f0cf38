// "Save" end to end: N text fields changed in the form, one click, until the unit confirmed the
// last write and its listing, read back, was checked; against the virtual unit at 9600 and at
// 115200 baud, for N = 10 and N = 50.
//
//   bench_save [RUNS]
//
// Compared with 1.05 x (the wire time of the N writes and of the read-back, and the 100 ms pause
// the worker makes before each of those N + 1 jobs) + 0.15 s; the wire time counts the commands
// and the unit's answers, the listing included, as on a real line.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>

#include "bench/BenchSession.h"
#include "engine/Worker.h"
#include "form/DeviceWrite.h"
#include "form/TabStrip.h"
#include "sim/UnitParameters.h"
#include "tests/support/EventLoop.h"
#include "ui/Control.h"

namespace {

using namespace bench;

constexpr int kBauds[] = {9600, 115200};
constexpr int kCounts[] = {10, 50};
constexpr int kDefaultRuns = 3;
constexpr int kMaxPauseMs = 400;
constexpr unsigned kSeed = 20240612;
constexpr double kWireFactor = 1.05;
constexpr double kAllowance = 0.15;
constexpr std::size_t kReadBackCommandBytes = sizeof("\r\nAT+SHOW\r\n") - 1;

struct Change {
    std::string name;
    std::string value;
    std::size_t commandBytes;
};

// A value the unit accepts for the domain and that differs from `current`; empty when the
// domain has none to offer here (choices and read-only values are not edit fields' business).
std::string NewValue(const sim::ValueDomain& domain, const std::string& current, int round,
                     int index) {
    std::vector<std::string> candidates;
    switch (domain.kind) {
        case sim::ValueKind::Text:
            candidates = {Format("BENCH%d", round), Format("B%d", round % 10)};
            break;
        case sim::ValueKind::Phone:
            candidates = {Format("1391234%04d", (round * 97 + index) % 10000),
                          Format("1380013%04d", index)};
            break;
        case sim::ValueKind::Host:
        case sim::ValueKind::Ipv4:
            candidates = {Format("10.%d.%d.%d", round % 250 + 1, index % 250 + 1, round % 7 + 1),
                          Format("10.9.%d.9", index % 250 + 1)};
            break;
        case sim::ValueKind::Integer:
            for (long v : {domain.min + round % 3, domain.min + 1 + round % 3, domain.max}) {
                if (v >= domain.min && v <= domain.max) candidates.push_back(std::to_string(v));
            }
            break;
        case sim::ValueKind::HexWord:
            candidates = {Format("%X", 0x1000 + round * 16 + index % 16), "ABCD"};
            break;
        case sim::ValueKind::Choice:
        case sim::ValueKind::ReadOnly:
            break;
    }
    for (const std::string& c : candidates) {
        if (c != current && sim::ValueFits(domain, c)) return c;
    }
    return {};
}

// The first `count` edit fields Save would write (shown, on an enabled tab) with a new value
// for each; fewer when the form has fewer.
std::vector<Change> ChooseChanges(Session& s, int count, int round) {
    std::vector<Change> changes;
    for (const auto& [name, entry] : s.frame.parameterTable) {
        if (static_cast<int>(changes.size()) == count) break;
        if (entry.kind != ControlKind::Edit || !IsOnScreen(s.frame, name)) continue;
        const int index = sim::FindParameterByCommand(entry.atCommand);
        if (index < 0) continue;
        const sim::UnitParameter& unit = sim::UnitParameters()[static_cast<std::size_t>(index)];
        std::string value =
            NewValue(unit.domain, entry.value, round, static_cast<int>(changes.size()));
        if (value.empty()) continue;
        changes.push_back({name, value, entry.atCommand.size() + 1 + value.size() + 2});
    }
    return changes;
}

struct Outcome {
    bool ok = false;
    int writes = 0;
    double total = 0;
    double wire = 0;               // the writes and the read-back
    double writeWire = 0;          // the writes alone
    std::vector<double> perWrite;  // from one confirmation to the next (the first from the click)
};

bool IsWrite(const std::string& command) {
    return command.find('=') != std::string::npos;
}

Outcome SaveOnce(Session& s, int count, int round, std::minstd_rand& random) {
    Outcome out;
    const std::vector<Change> changes = ChooseChanges(s, count, round);
    if (static_cast<int>(changes.size()) < count) {
        std::fprintf(stderr, "bench_save: the form offers only %zu fields to change\n",
                     changes.size());
        return out;
    }
    for (const Change& c : changes) s.frame.paintManager.FindControl(c.name)->SetText(c.value);
    std::uniform_int_distribution<int> pause(0, kMaxPauseMs);
    testsupport::RunEventsFor(pause(random));

    const std::size_t commandsBefore = s.host.ReceivedCommands().size();
    const std::uint64_t bytesBefore = s.BytesFromUnit();
    std::vector<BenchClock::time_point> confirmed;
    std::optional<BenchClock::time_point> checked;  // the read-back's listing was checked
    std::uint64_t bytesAtLastConfirmation = 0;
    s.frame.afterJobStep = [&] {
        std::size_t n = 0;
        for (const Change& c : changes)
            n += s.frame.parameterTable.FindParameter(c.name)->value == c.value;
        if (n == changes.size() && confirmed.size() < n) {
            bytesAtLastConfirmation = s.BytesFromUnit();
        }
        while (confirmed.size() < n) confirmed.push_back(BenchClock::now());
        const std::vector<std::string> commands = s.host.ReceivedCommands();
        if (!checked && n == changes.size() && commands.size() > commandsBefore &&
            commands.back() == "AT+SHOW" && s.frame.pendingJobType == JobType::None &&
            s.frame.jobQueue.Size() == 0) {
            checked = BenchClock::now();
        }
    };
    const int idleBefore = s.frame.idleNotices;
    const BenchClock::time_point click = BenchClock::now();
    s.Click("Save");
    const bool settled = testsupport::WaitUntil(
        [&] { return checked.has_value() && s.frame.idleNotices > idleBefore; }, count * 6000);
    s.frame.afterJobStep = nullptr;
    const std::vector<std::string> commands = s.host.ReceivedCommands();
    out.writes = static_cast<int>(std::count_if(
        commands.begin() + static_cast<std::ptrdiff_t>(commandsBefore), commands.end(), IsWrite));
    if (!settled || out.writes != count) {
        std::fprintf(stderr, "bench_save: %d of %d writes confirmed, %d written, %s\n",
                     static_cast<int>(confirmed.size()), count, out.writes,
                     checked ? "read back" : "no read-back checked");
        return out;
    }
    std::uint64_t commandBytes = 0;
    for (const Change& c : changes) commandBytes += c.commandBytes;
    out.writeWire = WireSeconds(commandBytes + (bytesAtLastConfirmation - bytesBefore), s.baud);
    out.wire = WireSeconds(commandBytes + kReadBackCommandBytes + (s.BytesFromUnit() - bytesBefore),
                           s.baud);
    out.total = Seconds(click, *checked);
    BenchClock::time_point previous = click;
    for (const BenchClock::time_point& t : confirmed) {
        out.perWrite.push_back(Seconds(previous, t));
        previous = t;
    }
    out.ok = true;
    return out;
}

bool MeasureBaud(int baud, int runs, std::minstd_rand& random, int& round) {
    Session s(baud);
    if (!s.ready || !s.Load(30000)) {
        std::fprintf(stderr, "bench_save: %d baud: %s\n", baud,
                     s.error.empty() ? "the form was not filled" : s.error.c_str());
        return false;
    }
    const double pause = std::chrono::duration<double>(kWorkerPollPeriod).count();
    for (int count : kCounts) {
        std::printf("\nSave of %d parameters at %d baud (%d runs)\n", count, baud, runs);
        std::printf("%4s %9s %9s %11s %13s %13s\n", "run", "total s", "wire s", "target s",
                    "per write s", "worst write s");
        std::vector<double> totals, perWrite;
        double limit = 0, wirePerWrite = 0;
        for (int r = 0; r < runs; ++r) {
            const Outcome o = SaveOnce(s, count, ++round, random);
            if (!o.ok) return false;
            const double target = kWireFactor * (o.wire + (count + 1) * pause) + kAllowance;
            limit = std::max(limit, target);
            wirePerWrite = std::max(wirePerWrite, o.writeWire / count);
            totals.push_back(o.total);
            perWrite.insert(perWrite.end(), o.perWrite.begin() + 1, o.perWrite.end());
            std::printf("%4d %9.3f %9.3f %11.3f %13.3f %13.3f\n", r + 1, o.total, o.wire, target,
                        o.total / count, Worst(o.perWrite));
        }
        const double perLimit = kWireFactor * (wirePerWrite + pause);
        std::printf(
            "total: median %.3f s, worst %.3f s, target %.3f s; between confirmations: "
            "median %.3f s, worst %.3f s, against %.3f s wire + %.3f s pause\n",
            Median(totals), Worst(totals), limit, Median(perWrite), Worst(perWrite), wirePerWrite,
            pause);
        const std::string target =
            Format("<= %.3f s (1.05 x (wire of %d writes and the read-back + %d x 0.1 s) + 0.15 s)",
                   limit, count, count + 1);
        PrintResult(
            Format("Save %d at %d baud with its read-back, worst total of %d", count, baud, runs),
            Format("%.3f s (%.3f s a write)", Worst(totals), Worst(totals) / count), target,
            Verdict(Worst(totals), limit, "ms", 1000));
        PrintResult(Format("Save %d at %d baud, median write", count, baud),
                    Format("%.3f s", Median(perWrite)), Format("<= %.3f s", perLimit),
                    Verdict(Median(perWrite), perLimit, "ms", 1000));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
    std::minstd_rand random(kSeed);
    int round = 0;
    bool ok = true;
    for (int baud : kBauds) ok = MeasureBaud(baud, runs, random, round) && ok;
    return ok ? 0 : 1;
}
