// "Load" end to end: from the click to the form filled (the listing parsed and shown), against
// the virtual unit paced at 9600 and at 115200 baud, as a ratio to the listing's wire time.
//
//   bench_load [RUNS_AT_9600 [RUNS_AT_115200]]
//
// Each click comes after a pseudo-random pause, so it falls anywhere in the worker's polling
// cycle, as a person's click does; the seed is fixed, so a rerun clicks at the same moments.
#include <unistd.h>

#include <QApplication>
#include <QProcess>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "bench/BenchSession.h"
#include "serial/PortWatcher.h"
#include "tests/support/EventLoop.h"

namespace {

using namespace bench;

constexpr int kBauds[] = {9600, 115200};
constexpr int kDefaultRuns[] = {5, 10};
// The pause before a click, drawn uniformly from [0, kMaxPauseMs].
constexpr int kMaxPauseMs = 400;
constexpr unsigned kSeed = 20240611;

// The target: 1.05 times the wire time plus 0.15 s.
constexpr double kWireFactor = 1.05;
constexpr double kAllowance = 0.15;

struct Run {
    double elapsed, wire, poll, settle, transfer, handover, parse;
};

// Runs Loads at the baud rate; the median time goes to *median. `through` names the path when
// serve puts a network server between the frame and the unit's terminal.
bool MeasureBaud(int baud, int runs, std::minstd_rand& random, double* median = nullptr,
                 const char* through = nullptr,
                 const std::function<std::string(const std::string&, std::string*)>& serve = {}) {
    Session s(baud, sim::UnitVariant::None, serve);
    if (!s.ready) {
        std::fprintf(stderr, "bench_load: %d baud: %s\n", baud, s.error.c_str());
        return false;
    }
    std::uniform_int_distribution<int> pause(0, kMaxPauseMs);
    std::vector<Run> done;
    std::printf("\nLoad at %d baud%s%s (%d runs)\n", baud, through ? " through " : "",
                through ? through : "", runs);
    std::printf("%4s %7s %8s %15s %6s | %7s %7s %8s %8s %7s\n", "run", "bytes", "wire s",
                "click-to-form s", "ratio", "poll", "settle", "transfer", "handover", "parse");
    for (int i = 0; i < runs; ++i) {
        testsupport::RunEventsFor(pause(random));
        const std::uint64_t bytesBefore = s.BytesFromUnit();
        const int parsedBefore = s.frame.parsedListings;
        const BenchClock::time_point click = BenchClock::now();
        // 24 s is the program's own time-out for a listing; past it the run has failed.
        if (!s.Load(30000) || s.frame.parsedListings != parsedBefore + 1) {
            std::fprintf(stderr, "bench_load: %d baud: run %d did not fill the form\n", baud, i);
            return false;
        }
        const TimedFrame& f = s.frame;
        const std::uint64_t bytes = s.BytesFromUnit() - bytesBefore;
        Run r{Seconds(click, f.parsed),       WireSeconds(bytes, baud),
              Seconds(click, f.started),      Seconds(f.started, f.armed),
              Seconds(f.armed, f.answered),   Seconds(f.answered, f.parseBegan),
              Seconds(f.parseBegan, f.parsed)};
        done.push_back(r);
        std::printf("%4d %7llu %8.3f %15.3f %6.3f | %7.3f %7.3f %8.3f %8.3f %7.3f\n", i + 1,
                    static_cast<unsigned long long>(bytes), r.wire, r.elapsed, r.elapsed / r.wire,
                    r.poll, r.settle, r.transfer, r.handover, r.parse);
    }
    std::vector<double> elapsed, ratio, overhead;
    double wire = 0;
    for (const Run& r : done) {
        elapsed.push_back(r.elapsed);
        ratio.push_back(r.elapsed / r.wire);
        overhead.push_back(r.elapsed - r.wire);
        wire = std::max(wire, r.wire);
    }
    if (median) *median = Median(elapsed);
    // Through a server the figure is held against the same Load on the terminal itself.
    if (through) return true;
    const double limit = kWireFactor * wire + kAllowance;
    std::printf(
        "median %.3f s (ratio %.3f), worst %.3f s (ratio %.3f); target %.3f s; "
        "time beyond the wire: median %.3f s, worst %.3f s\n",
        Median(elapsed), Median(ratio), Worst(elapsed), Worst(ratio), limit, Median(overhead),
        Worst(overhead));
    const std::string target = Format("<= %.3f s (1.05 x %.3f s wire + 0.15 s)", limit, wire);
    PrintResult(Format("Load %d baud, median of %d", baud, runs),
                Format("%.3f s (%.3f x wire)", Median(elapsed), Median(ratio)), target,
                Verdict(Median(elapsed), limit, "ms", 1000));
    PrintResult(Format("Load %d baud, worst of %d", baud, runs),
                Format("%.3f s (%.3f x wire)", Worst(elapsed), Worst(ratio)), target,
                Verdict(Worst(elapsed), limit, "ms", 1000));
    return true;
}

// ser2net serving one terminal on a loopback port, for as long as the object lives.
class Ser2net {
  public:
    ~Ser2net() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished(5000);
    }
    // Serves the terminal as scheme ("rfc2217" or "tcp") says; the port's name or "".
    std::string Serve(const std::string& scheme, const std::string& pty, std::string* error) {
        const int port = 20000 + static_cast<int>(::getpid() % 20000);
        const std::string name = scheme + "://127.0.0.1:" + std::to_string(port);
        const std::string file = "/tmp/bench_load_ser2net_" + std::to_string(::getpid()) + ".yaml";
        std::FILE* yaml = std::fopen(file.c_str(), "w");
        if (!yaml) return *error = "cannot write " + file, "";
        std::fprintf(yaml,
                     "connection: &c\n  accepter: %s127.0.0.1,%d\n"
                     "  connector: serialdev,%s,115200n81,local\n",
                     scheme == "rfc2217" ? "telnet(rfc2217),tcp," : "tcp,", port, pty.c_str());
        std::fclose(yaml);
        process_.start("ser2net", {"-n", "-c", QString::fromStdString(file)});
        if (!process_.waitForStarted(5000) || !serial::WaitForPort(name, 5000))
            return *error = "ser2net did not serve " + name + " (is it installed?)", "";
        return name;
    }

  private:
    QProcess process_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int runs[2] = {kDefaultRuns[0], kDefaultRuns[1]};
    for (int i = 1; i < argc && i <= 2; ++i) runs[i - 1] = std::max(1, std::atoi(argv[i]));
    std::printf(
        "columns: poll = click until the worker took the job, settle = quiet-line wait "
        "before the write,\ntransfer = armed until the answer was complete, handover = "
        "until the parse began, parse = parse and fill (s)\n");
    std::minstd_rand random(kSeed);
    bool ok = true;
    double onPty = 0;
    for (int i = 0; i < 2; ++i) ok = MeasureBaud(kBauds[i], runs[i], random, &onPty) && ok;
    // The last Load on the terminal was at 115200: the same Loads through ser2net on loopback.
    for (const char* scheme : {"rfc2217", "tcp"}) {
        Ser2net server;
        const auto serve = [&](const std::string& pty, std::string* error) {
            return server.Serve(scheme, pty, error);
        };
        double through = 0;
        const std::string path = std::string("ser2net (") + scheme + ")";
        if (!MeasureBaud(kBauds[1], runs[1], random, &through, path.c_str(), serve)) {
            ok = false;
            continue;
        }
        const double limit = 1.05 * onPty + 0.05;
        PrintResult(
            Format("Load %d baud through %s, median of %d", kBauds[1], path.c_str(), runs[1]),
            Format("%.3f s (%.3f x the terminal's %.3f s)", through, through / onPty, onPty),
            Format("<= %.3f s (1.05 x terminal + 0.05 s)", limit),
            Verdict(through, limit, "ms", 1000));
    }
    return ok ? 0 : 1;
}
