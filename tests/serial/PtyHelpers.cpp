#include "tests/serial/PtyHelpers.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace serialtest {

Pty::Pty() {
    master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
    const char* name = ptsname(master);
    if (!name) return;
    slavePath = name;
    slaveFd = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

Pty::~Pty() {
    CloseMaster();
    if (slaveFd >= 0) close(slaveFd);
}

void Pty::Send(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(master, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

std::string Pty::Receive(size_t count, int timeoutMs) {
    std::string got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < count && clock.elapsed() < timeoutMs) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(timeoutMs - clock.elapsed())) <= 0) break;
        char buffer[4096];
        ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}

int Pty::QueuedAtPort() const {
    int queued = -1;
    ioctl(slaveFd, FIONREAD, &queued);
    return queued;
}

void Pty::CloseMaster() {
    if (master >= 0) close(master);
    master = -1;
}

HoldingProcess::HoldingProcess(int deviceFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, deviceFd, 0);
    char sleepName[] = "sleep";
    char seconds[] = "60";
    char* argv[] = {sleepName, seconds, nullptr};
    pid_t child = -1;
    if (posix_spawnp(&child, "sleep", &actions, nullptr, argv, environ) == 0) pid = child;
    posix_spawn_file_actions_destroy(&actions);
}

HoldingProcess::~HoldingProcess() {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int EndedProcessPid() {
    pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

RecordingOwner::RecordingOwner() {
    Create(nullptr, "t", 0, 0, 0, 0, 10, 10);
}

LRESULT RecordingOwner::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsgReceived) {
        messages.push_back(msg);
        blocks.emplace_back(reinterpret_cast<const char*>(wParam), static_cast<size_t>(lParam));
        return 0;
    }
    if (msg == kMsgPortLost) {
        messages.push_back(msg);
        lostLParams.push_back(lParam);
        return 0;
    }
    if (msg >= kMsgBreak && msg <= kMsgRxFlag) messages.push_back(msg);
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

std::string RecordingOwner::Received() const {
    std::string all;
    for (const auto& block : blocks) all += block;
    return all;
}

int RecordingOwner::CountOf(UINT msg) const {
    int n = 0;
    for (UINT m : messages) n += m == msg;
    return n;
}

bool WaitForQueue(const Pty& pty, const std::function<bool(int)>& test, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!test(pty.QueuedAtPort())) {
        // The kernel moves pty input to the port in its own worker; nothing signals when it is
        // done, so the queue is looked at again after a short rest.
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace serialtest
