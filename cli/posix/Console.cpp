// Signals through a self-pipe that a socket notifier watches.
#include "cli/Console.h"

#include <signal.h>
#include <unistd.h>

#include <QProcess>
#include <QSocketNotifier>
#include <memory>

namespace console {

namespace {

// The self-pipe a signal handler writes to, so Ctrl-C reaches the event loop.
int gSignalPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(gSignalPipe[1], &byte, 1);
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) == 1;
}

void UseUtf8Console() {}

QStringList Arguments(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

void WatchStopRequests(std::function<void()> onStop, bool terminalInterrupt) {
    static std::unique_ptr<QSocketNotifier> notifier;
    if (notifier || pipe(gSignalPipe) != 0) return;
    notifier = std::make_unique<QSocketNotifier>(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [onStop = std::move(onStop)] {
        char byte;
        [[maybe_unused]] const ssize_t n = read(gSignalPipe[0], &byte, 1);
        onStop();
    });
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    if (terminalInterrupt) sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Nothing to do before the start: the unit's process ignores Ctrl-C itself
// (IgnoreTerminalInterrupt). A child modifier would run between a vfork and the exec, where a
// sanitizer's signal bookkeeping is still the parent's.
void PrepareUnitProcess(QProcess&) {}

void IgnoreTerminalInterrupt() {
    signal(SIGINT, SIG_IGN);
}

void StopUnitProcess(QProcess& process) {
    process.terminate();
}

}  // namespace console
