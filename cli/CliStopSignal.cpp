#include "cli/CliStopSignal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

int gSignalPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(gSignalPipe[1], &byte, 1);
}

}  // namespace

bool CliStopSignal::Watch(std::initializer_list<int> signalNumbers,
                          std::function<void()> onSignal) {
    if (gSignalPipe[0] < 0 && pipe2(gSignalPipe, O_CLOEXEC) != 0) return false;
    onSignal_ = std::move(onSignal);
    notifier_ = std::make_unique<QSocketNotifier>(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char byte;
        [[maybe_unused]] const ssize_t n = read(gSignalPipe[0], &byte, 1);
        if (onSignal_) onSignal_();
    });
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    for (int number : signalNumbers) sigaction(number, &action, nullptr);
    return true;
}

void IgnoreTerminalInterrupt() {
    signal(SIGINT, SIG_IGN);
}
