// Start-up to the window on the screen, and peak resident memory, for dtuconfig and for a peer
// Qt serial terminal (CuteCom), measured alike on the X display in $DISPLAY:
//   mapped  the program's top-level window was mapped (what xdotool --onlyvisible sees),
//   drawn   the first pixels were drawn into it (DAMAGE), i.e. the first paint reached the screen,
//   peak    VmHWM from /proc/PID/status a few seconds after the window appeared.
// dtuconfig also reports on its own (DTU_BENCH_TIMING): when its first paint finished, and its
// peak resident memory at exit. Time is counted from the fork of the program.
//
//   bench_startup DTUCONFIG [RUNS [PEER_COMMAND]]      (PEER_COMMAND: cutecom; "-" for none)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/XWatch.h"

namespace {

using bench::XWatch;
using Clock = XWatch::Clock;

constexpr int kDefaultRuns = 5;
// The peak is read once start-up has settled.
constexpr int kSettleMs = 3000;
constexpr int kCloseWaitMs = 5000;
constexpr double kVisibleLimitMs = 130;
// 90 MB in kB of 1024 bytes, taking MB as 10^6 bytes (the stricter reading).
constexpr double kMemoryLimitKb = 90e6 / 1024;

struct Program {
    std::string label;
    std::vector<std::string> argv;
    std::string windowName;  // a regular expression for its top-level window's title
    bool reportsItself = false;
};

struct Sample {
    double mappedMs = 0, drawnMs = 0;
    std::optional<double> selfPaintMs;  // dtuconfig's own first-paint stamp
    long hwmKb = 0;
    std::optional<long> exitPeakKb;  // dtuconfig's own peak at exit
};

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

long VmHwmKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Waits until the process ends or ms passed; true when it ended (and was reaped).
bool WaitForExit(pid_t pid, int pidFd, int ms) {
    pollfd fd{pidFd, POLLIN, 0};
    if (poll(&fd, 1, ms) <= 0) return false;
    waitpid(pid, nullptr, 0);
    return true;
}

pid_t Launch(const Program& p, const std::string& outputPath) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
    }
    if (p.reportsItself) setenv("DTU_BENCH_TIMING", "1", 1);
    std::vector<char*> argv;
    for (const std::string& a : p.argv) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

// The value after "key=" on a "DTU_TIMING" line of the program's output.
std::optional<long long> Reported(const std::string& output, const std::string& key) {
    std::istringstream lines(output);
    std::string line;
    const std::string prefix = "DTU_TIMING " + key + "=";
    while (std::getline(lines, line)) {
        if (line.rfind(prefix, 0) == 0) return std::atoll(line.c_str() + prefix.size());
    }
    return std::nullopt;
}

bool Measure(XWatch& watch, const Program& p, Sample* s) {
    const std::string outputPath = "/tmp/bench_startup." + std::to_string(getpid()) + ".log";
    watch.Reset();
    const Clock::time_point start = Clock::now();
    const pid_t pid = Launch(p, outputPath);
    if (pid < 0) return false;
    const int pidFd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    XWatch::Sighting seen;
    bool ok =
        watch.WaitForWindow(std::regex(p.windowName), start + std::chrono::seconds(20), &seen);
    if (ok) {
        s->mappedMs = Ms(start, seen.mapped);
        s->drawnMs = Ms(start, seen.drawn);
        // The process must still run after the settling time for its peak to mean anything.
        ok = !WaitForExit(pid, pidFd, kSettleMs);
        if (ok) s->hwmKb = VmHwmKb(pid);
        if (ok) watch.RequestClose(seen.window);
    }
    if (!WaitForExit(pid, pidFd, kCloseWaitMs)) {
        std::fprintf(stderr, "bench_startup: %s did not close; ending it\n", p.label.c_str());
        kill(pid, SIGTERM);
        if (!WaitForExit(pid, pidFd, kCloseWaitMs)) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    close(pidFd);
    std::ifstream in(outputPath);
    const std::string output((std::istreambuf_iterator<char>(in)), {});
    std::remove(outputPath.c_str());
    if (!ok) {
        std::fprintf(stderr, "bench_startup: %s showed no window named /%s/\n%s", p.label.c_str(),
                     p.windowName.c_str(), output.c_str());
        return false;
    }
    if (const auto paint = Reported(output, "first_paint_steady_ns")) {
        s->selfPaintMs = Ms(start, Clock::time_point(std::chrono::nanoseconds(*paint)));
    }
    if (const auto peak = Reported(output, "peak_rss_kb")) s->exitPeakKb = *peak;
    return true;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Worst(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

std::string Fmt(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Verdict(double value, double limit, const char* unit) {
    if (value <= limit) return "met";
    char text[96];
    std::snprintf(text, sizeof text, "MISSED by %.1f %s (%.0f %%)", value - limit, unit,
                  100 * (value - limit) / limit);
    return text;
}

void Result(const std::string& figure, const std::string& measured, const std::string& target,
            const std::string& verdict) {
    std::printf("RESULT|%s|%s|%s|%s\n", figure.c_str(), measured.c_str(), target.c_str(),
                verdict.c_str());
}

void Summarise(const Program& p, const std::vector<Sample>& samples, bool targets) {
    std::vector<double> mapped, drawn, self, hwm, exitPeak;
    for (const Sample& s : samples) {
        mapped.push_back(s.mappedMs);
        drawn.push_back(s.drawnMs);
        if (s.selfPaintMs) self.push_back(*s.selfPaintMs);
        hwm.push_back(static_cast<double>(s.hwmKb));
        if (s.exitPeakKb) exitPeak.push_back(static_cast<double>(*s.exitPeakKb));
    }
    const int n = static_cast<int>(samples.size());
    const std::string runs = " (" + std::to_string(n) + " runs)";
    const std::string visible = targets ? "<= 130 ms" : "-";
    const std::string memory = targets ? "<= 87891 kB (90 MB)" : "-";
    auto verdict = [&](double v, double limit, const char* unit) {
        return targets ? Verdict(v, limit, unit) : std::string("-");
    };
    std::printf(
        "%s: mapped median %.1f ms worst %.1f ms; drawn median %.1f ms worst %.1f ms; "
        "VmHWM median %.0f kB worst %.0f kB\n",
        p.label.c_str(), Median(mapped), Worst(mapped), Median(drawn), Worst(drawn), Median(hwm),
        Worst(hwm));
    Result(p.label + " start to window drawn, median" + runs, Fmt("%.1f ms", Median(drawn)),
           visible, verdict(Median(drawn), kVisibleLimitMs, "ms"));
    Result(p.label + " start to window drawn, worst" + runs, Fmt("%.1f ms", Worst(drawn)), visible,
           verdict(Worst(drawn), kVisibleLimitMs, "ms"));
    Result(p.label + " start to window mapped, median" + runs, Fmt("%.1f ms", Median(mapped)), "-",
           "-");
    if (!self.empty()) {
        Result(p.label + " start to its own first paint, median" + runs,
               Fmt("%.1f ms", Median(self)), visible, verdict(Median(self), kVisibleLimitMs, "ms"));
    }
    Result(p.label + " peak RSS (VmHWM after 3 s), worst" + runs, Fmt("%.0f kB", Worst(hwm)),
           memory, verdict(Worst(hwm), kMemoryLimitKb, "kB"));
    if (!exitPeak.empty()) {
        Result(p.label + " peak RSS at exit, worst" + runs, Fmt("%.0f kB", Worst(exitPeak)), memory,
               verdict(Worst(exitPeak), kMemoryLimitKb, "kB"));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_startup DTUCONFIG [RUNS [PEER_COMMAND]]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : kDefaultRuns;
    const std::string peer = argc > 3 ? argv[3] : "cutecom";
    std::vector<Program> programs = {{"dtuconfig", {argv[1]}, "^DTU$", true}};
    if (peer != "-") programs.push_back({"CuteCom", {peer}, "^CuteCom", false});

    XWatch watch;
    std::string error;
    if (!watch.Open(&error)) {
        std::fprintf(stderr, "bench_startup: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::vector<Sample>> samples(programs.size());
    std::printf("%-10s %4s %10s %10s %14s %10s %14s\n", "program", "run", "mapped ms", "drawn ms",
                "own paint ms", "VmHWM kB", "exit peak kB");
    // Run 0 warms the file cache for each program and is not counted; then they take turns,
    // so a disturbance on the machine falls on both.
    for (int run = 0; run <= runs; ++run) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            Sample s;
            if (!Measure(watch, programs[i], &s)) return 1;
            std::printf("%-10s %4s %10.1f %10.1f %14s %10ld %14s\n", programs[i].label.c_str(),
                        run == 0 ? "warm" : std::to_string(run).c_str(), s.mappedMs, s.drawnMs,
                        s.selfPaintMs ? Fmt("%.1f", *s.selfPaintMs).c_str() : "-", s.hwmKb,
                        s.exitPeakKb ? std::to_string(*s.exitPeakKb).c_str() : "-");
            std::fflush(stdout);
            if (run > 0) samples[i].push_back(s);
        }
    }
    for (std::size_t i = 0; i < programs.size(); ++i) Summarise(programs[i], samples[i], i == 0);
    return 0;
}
