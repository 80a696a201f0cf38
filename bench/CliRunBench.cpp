// Whole command-line runs against the virtual unit: the time from starting "dtuconfig read", or
// "dtuconfig set" of one value, until the program has ended, at 115200 and 9600 baud. The unit
// runs in its working mode, as the at+quit of the run before leaves it, so every run logs in
// as a run against a unit in the field does.
//   read  <= the listing's wire time + 0.4 s
//   set   <= two listings' wire time (the read and the read-back) + 0.1 s (the pause after the
//            write) + 0.5 s
//
//   bench_cli DTUCONFIG [RUNS]      (RUNS: 10)
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchSession.h"
#include "bench/UnitListing.h"
#include "sim/VirtualUnitHost.h"

namespace {

constexpr int kDefaultRuns = 10;
constexpr double kReadSlack = 0.4;
constexpr double kSetSlack = 0.5;
constexpr double kWritePause = 0.1;

// Runs the program to its end with its output thrown away; the seconds it took, or -1 when it
// failed.
double TimedRun(const std::vector<std::string>& args) {
    // What this program printed must not be printed again by the child.
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            _exit(127);
        std::vector<char*> argv;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

struct Figure {
    const char* command;
    int listings;  // listings the run reads
    double slack;  // seconds the target allows beyond the wire
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_cli DTUCONFIG [RUNS]\n");
        return 2;
    }
    const std::string program = std::filesystem::absolute(argv[1]).string();
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : kDefaultRuns;
    // The runs' backups and settings go to a folder of their own.
    char folder[] = "/tmp/bench_cli-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    setenv("XDG_DATA_HOME", folder, 1);
    setenv("XDG_CONFIG_HOME", folder, 1);

    const std::size_t listingBytes = bench::UnitListing(sim::UnitVariant::None).size();
    const Figure figures[] = {{"read", 1, kReadSlack}, {"set", 2, kSetSlack + kWritePause}};
    int failures = 0;
    for (const int baud : {115200, 9600}) {
        sim::UnitOptions options;
        options.start = sim::UnitStart::Working;
        options.baud = baud;
        sim::VirtualUnitHost host(options);
        std::string error;
        if (!host.Start(&error)) {
            std::fprintf(stderr, "the virtual unit did not start: %s\n", error.c_str());
            return 1;
        }
        const double wire = bench::WireSeconds(listingBytes, baud);
        for (const Figure& figure : figures) {
            std::printf("\n%s at %d baud (%d runs), listing %zu bytes, wire %.3f s\n",
                        figure.command, baud, runs, listingBytes, wire);
            std::vector<double> times;
            for (int run = 0; run < runs; ++run) {
                std::vector<std::string> args{program,  figure.command,
                                              "--port", host.DevicePath(),
                                              "--baud", std::to_string(baud)};
                // Each set writes a value the unit does not hold yet.
                if (std::string(figure.command) == "set")
                    args.push_back("Server's Port=" + std::to_string(6000 + run % 2));
                const double seconds = TimedRun(args);
                std::printf(" run %2d  %.3f s\n", run + 1, seconds);
                if (seconds < 0) {
                    ++failures;
                    continue;
                }
                times.push_back(seconds);
            }
            const double limit = figure.listings * wire + figure.slack;
            const std::string target = bench::Format("<= %.3f s (%d x %.3f s wire + %.1f s)", limit,
                                                     figure.listings, wire, figure.slack);
            const double median = bench::Median(times);
            const double worst = bench::Worst(times);
            bench::PrintResult(
                bench::Format("%s %d baud, median of %d", figure.command, baud, runs),
                bench::Format("%.3f s", median), target, bench::Verdict(median, limit, "ms", 1000));
            bench::PrintResult(bench::Format("%s %d baud, worst of %d", figure.command, baud, runs),
                               bench::Format("%.3f s", worst), target,
                               bench::Verdict(worst, limit, "ms", 1000));
        }
    }
    std::filesystem::remove_all(folder);
    if (failures) std::fprintf(stderr, "%d runs failed\n", failures);
    return failures ? 1 : 0;
}
