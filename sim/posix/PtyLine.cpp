// The unit on a pseudo-terminal: the program opens the slave side like a serial port.
#include "sim/VirtualUnitHost.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

// Output a reader does not take is kept up to this much, then the oldest is lost, as on a
// line nobody listens to.
constexpr std::size_t kPendingLimit = 256 * 1024;
// The I/O thread sleeps at least this long between output batches: at high speeds a byte
// lasts less than a millisecond, and waking for each would only burn the CPU.
constexpr auto kMinimumWait = std::chrono::milliseconds(1);
// How long a cut line waits for its reader to take the last bytes: checks this far apart, at
// most this many.
constexpr std::chrono::nanoseconds kDrainStep = std::chrono::milliseconds(2);
constexpr int kDrainRounds = 250;
// The kernel hands written bytes to the slave a little later, so an empty queue counts only
// when it stays empty this many checks in a row.
constexpr int kQuietChecks = 10;

std::string ErrnoText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

void CloseFd(int* fd) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
}

}  // namespace

UnitLine DefaultUnitLine() {
    return UnitLine::Pty;
}

bool VirtualUnitHost::StartPty(std::string* error) {
    masterFd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (masterFd < 0) {
        *error = ErrnoText("posix_openpt");
        return false;
    }
    char path[128] = {};
    if (::grantpt(masterFd) != 0 || ::unlockpt(masterFd) != 0 ||
        ::ptsname_r(masterFd, path, sizeof path) != 0) {
        *error = ErrnoText("pseudo-terminal setup");
        CloseFd(&masterFd);
        return false;
    }
    ::fcntl(masterFd, F_SETFL, ::fcntl(masterFd, F_GETFL) | O_NONBLOCK);

    // Raw and without echo on the slave, so the line discipline neither answers the program
    // itself nor translates line ends; kept open so the master sees no hang-up while the
    // program closes and reopens the port.
    slaveFd = ::open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings{};
    if (slaveFd < 0 || ::tcgetattr(slaveFd, &settings) != 0) {
        *error = ErrnoText("opening the pseudo-terminal slave");
        CloseFd(&slaveFd);
        CloseFd(&masterFd);
        return false;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    if (::tcsetattr(slaveFd, TCSANOW, &settings) != 0) {
        *error = ErrnoText("setting the pseudo-terminal to raw mode");
        CloseFd(&slaveFd);
        CloseFd(&masterFd);
        return false;
    }
    wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        *error = ErrnoText("eventfd");
        CloseFd(&slaveFd);
        CloseFd(&masterFd);
        return false;
    }
    devicePath = path;
    return true;
}

void VirtualUnitHost::WakePtyLocked() {
    if (wakeFd < 0) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd, &one, sizeof one);
}

void VirtualUnitHost::ClosePtyLocked() {
    CloseFd(&masterFd);
    CloseFd(&slaveFd);
    CloseFd(&wakeFd);
}

void VirtualUnitHost::LetReaderDrain(std::string& pending) {
    // Closing the master throws away what the reader has not read yet, but the bytes before
    // the cut did reach the far end of the wire: give the reader a moment to take them.
    int quietChecks = 0;
    for (int round = 0; round < kDrainRounds && quietChecks < kQuietChecks; ++round) {
        if (!pending.empty()) {
            const ssize_t n = ::write(masterFd, pending.data(), pending.size());
            if (n > 0) pending.erase(0, static_cast<std::size_t>(n));
        }
        int queued = 0;
        if (::ioctl(slaveFd, FIONREAD, &queued) != 0) break;
        quietChecks = queued == 0 && pending.empty() ? quietChecks + 1 : 0;
        pollfd wake{wakeFd, POLLIN, 0};
        const timespec wait{0, kDrainStep.count()};
        if (::ppoll(&wake, 1, &wait, nullptr) > 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = ::read(wakeFd, &count, sizeof count);
            std::lock_guard guard(lock);
            if (stopping) break;
        }
    }
}

void VirtualUnitHost::RunPty() {
    std::string pending;  // output the master has not taken yet
    char buffer[4096];
    while (true) {
        TimePoint now = UnitClock::now();
        TimePoint deadline;
        bool cut = false;
        {
            std::lock_guard guard(lock);
            if (stopping) return;
            unit->Advance(now);
            pending += unit->TakeOutput();
            deadline = unit->NextDeadline();
            cut = unit->Mode() == UnitMode::Unplugged;
        }
        while (!pending.empty()) {
            const ssize_t n = ::write(masterFd, pending.data(), pending.size());
            if (n > 0) {
                pending.erase(0, static_cast<std::size_t>(n));
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                break;  // the reader's buffer is full: wait for POLLOUT
            }
        }
        if (pending.size() > kPendingLimit) {
            const std::size_t excess = pending.size() - kPendingLimit;
            pending.erase(0, excess);
            std::lock_guard guard(lock);
            undelivered += excess;
        }
        if (cut) {
            LetReaderDrain(pending);
            CloseLine();
            return;
        }

        pollfd fds[2] = {
            {masterFd, static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0},
            {wakeFd, POLLIN, 0}};
        timespec wait{};
        timespec* waitPointer = nullptr;
        if (deadline != TimePoint::max()) {
            auto left = std::max<Duration>(deadline - UnitClock::now(), Duration::zero());
            if (left > Duration::zero()) left = std::max<Duration>(left, kMinimumWait);
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            wait.tv_sec = static_cast<time_t>(ns / 1000000000);
            wait.tv_nsec = static_cast<long>(ns % 1000000000);
            waitPointer = &wait;
        }
        if (::ppoll(fds, 2, waitPointer, nullptr) < 0 && errno != EINTR) return;

        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = ::read(wakeFd, &count, sizeof count);
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            while (true) {
                const ssize_t n = ::read(masterFd, buffer, sizeof buffer);
                if (n > 0) {
                    std::lock_guard guard(lock);
                    unit->Feed(std::string_view(buffer, static_cast<std::size_t>(n)),
                               UnitClock::now());
                    continue;
                }
                if (n < 0 && errno == EINTR) continue;
                if (n < 0 && errno == EAGAIN) break;
                // The master failed although the host holds the slave open: give up the line
                // rather than spin on it.
                {
                    std::lock_guard guard(lock);
                    unit->Unplug(UnitClock::now());
                }
                CloseLine();
                return;
            }
        }
    }
}

}  // namespace sim
