// The Linux port: a terminal opened non-blocking and exclusively, polled together with two
// eventfds (one that stops the monitor and every writer for good, one for queued writes).
#include "serial/PortBackend.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string_view>

#include "serial/posix/LineSettings.h"
#include "serial/posix/PortOwnership.h"

namespace serial {

namespace {

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

void Signal(int fd) {
    if (fd < 0) return;
    std::uint64_t one = 1;
    // The counter cannot overflow in practice; a failed write only means it is already set.
    [[maybe_unused]] ssize_t n = ::write(fd, &one, sizeof one);
}

bool IsNoDriverSupport(int error) {
    return error == ENOTTY || error == EINVAL;
}

}  // namespace

// A terminal device: the descriptor, the lock file and the two eventfds.
class PosixPortBackend final : public PortBackend {
  public:
    PosixPortBackend();
    ~PosixPortBackend() override;

    bool Open(const std::string& device, const OwnershipRoots& roots, int* error,
              PortHolder* holder) override;
    void Close() override;
    void ReleaseLock() override;
    bool IsOpen() const override;
    // Reads never block and the monitor filters by the mask itself: nothing to set.
    bool PrepareEvents(unsigned, int*, const char**) override { return true; }
    bool ReadSettings(int* error) override;
    bool ApplySettings(const CommSettings& settings, int* error) override;
    bool Purge(PurgeSide side) override;
    bool TakeLineErrors() override;
    int QueuedBytes(int* error) override;
    long Read(void* buffer, size_t size, int* error) override;
    size_t Write(const void* data, size_t length, int timeLimitMs, WriteEnd* end,
                 int* error) override;
    WaitResult Wait(bool wantData) override;
    void SignalWake() override;
    void TakeWake() override;
    void SignalStop() override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

struct PosixPortBackend::State {
    int fd = -1;
    int stopFd = -1;  // never drained: once set, every wait and write sees it until Close
    int wakeFd = -1;  // drained by the monitor for each queued write
    PortLock lock;    // Open and Close; the monitor releases it when the device is lost
    std::mutex countersLock;
    bool hasCounters = true;
    unsigned long lastErrorCount = 0;

    bool TakeLineErrorsLocked();
};

PosixPortBackend::PosixPortBackend() : state_(std::make_unique<State>()) {}

PosixPortBackend::~PosixPortBackend() {
    Close();
}

bool PosixPortBackend::IsOpen() const {
    return state_->fd >= 0;
}

bool PosixPortBackend::Open(const std::string& device, const OwnershipRoots& roots, int* error,
                            PortHolder* holder) {
    Close();
    // flock and TIOCEXCL keep out only programs that open later or lock too: a terminal program
    // already attached is found by its lock file or among the processes.
    if (!state_->lock.Take(roots.lockDir, device, roots.procRoot, holder)) {
        *error = EBUSY;
        return false;
    }
    int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        state_->lock.Release();
        return false;
    }
    // flock closes the window TIOCEXCL leaves between another program's open and its ioctl, and
    // holds against root, which TIOCEXCL does not.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        *error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        state_->lock.Release();
        return false;
    }
    // Every process has files like /dev/null open; only a terminal has a holder worth naming.
    if (::isatty(fd) && FindPortHolder(roots.procRoot, device, holder)) {
        ::close(fd);
        state_->lock.Release();
        *error = EBUSY;
        return false;
    }
    if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
        *error = errno;
        ::close(fd);
        state_->lock.Release();
        return false;
    }
    int stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd < 0 || wakeFd < 0) {
        *error = errno;  // taken before the closes below can change it
        CloseFd(stopFd);
        CloseFd(wakeFd);
        ::close(fd);
        state_->lock.Release();
        return false;
    }
    State& s = *state_;
    s.fd = fd;
    s.stopFd = stopFd;
    s.wakeFd = wakeFd;
    std::lock_guard lock(s.countersLock);
    // Errors counted before we opened the port are not ours to report.
    s.hasCounters = true;
    s.lastErrorCount = 0;
    s.TakeLineErrorsLocked();
    return true;
}

void PosixPortBackend::Close() {
    State& s = *state_;
    if (s.fd >= 0) {
        // The exclusive flag belongs to the terminal, not to our descriptor: give it back.
        ::ioctl(s.fd, TIOCNXCL);
        ::flock(s.fd, LOCK_UN);
    }
    CloseFd(s.fd);
    CloseFd(s.stopFd);
    CloseFd(s.wakeFd);
    s.lock.Release();
}

void PosixPortBackend::ReleaseLock() {
    state_->lock.Release();
}

bool PosixPortBackend::ReadSettings(int* error) {
    return posix::ReadTermios(state_->fd, error);
}

bool PosixPortBackend::ApplySettings(const CommSettings& s, int* error) {
    bool validParity =
        s.parity && std::string_view("NEOMS").find(s.parity) != std::string_view::npos;
    if (s.baud == 0 || s.dataBits < 5 || s.dataBits > 8 || !validParity || !IsSupportedFrame(s)) {
        *error = EINVAL;
        return false;
    }
    switch (posix::ApplyWithTermios2(state_->fd, s, error)) {
        case posix::ApplyResult::Done:
            break;
        case posix::ApplyResult::Failed:
            return false;
        case posix::ApplyResult::NoTermios2:
            if (!posix::ApplyWithTermios(state_->fd, s, error)) return false;
            break;
    }
    int rts = TIOCM_RTS;
    // A pseudo-terminal has no modem lines; that is no reason to refuse the port.
    if (::ioctl(state_->fd, TIOCMBIS, &rts) != 0 && !IsNoDriverSupport(errno)) {
        *error = errno;
        return false;
    }
    return true;
}

bool PosixPortBackend::Purge(PurgeSide side) {
    return posix::FlushQueues(state_->fd, side != PurgeSide::Transmit, side != PurgeSide::Receive);
}

bool PosixPortBackend::TakeLineErrors() {
    std::lock_guard lock(state_->countersLock);
    return state_->TakeLineErrorsLocked();
}

bool PosixPortBackend::State::TakeLineErrorsLocked() {
    if (!hasCounters || fd < 0) return false;
    serial_icounter_struct counters{};
    if (::ioctl(fd, TIOCGICOUNT, &counters) != 0) {
        if (IsNoDriverSupport(errno)) hasCounters = false;
        return false;
    }
    unsigned long total =
        static_cast<unsigned long>(counters.frame) + static_cast<unsigned long>(counters.overrun) +
        static_cast<unsigned long>(counters.parity) + static_cast<unsigned long>(counters.brk) +
        static_cast<unsigned long>(counters.buf_overrun);
    bool changed = total != lastErrorCount;
    lastErrorCount = total;
    return changed;
}

int PosixPortBackend::QueuedBytes(int* error) {
    int queued = 0;
    if (::ioctl(state_->fd, FIONREAD, &queued) != 0) {
        *error = errno;
        return -1;
    }
    return queued;
}

long PosixPortBackend::Read(void* buffer, size_t size, int* error) {
    for (;;) {
        ssize_t n = ::read(state_->fd, buffer, size);
        if (n >= 0) return static_cast<long>(n);
        if (errno == EINTR) continue;
        *error = errno;
        return -1;
    }
}

size_t PosixPortBackend::Write(const void* data, size_t length, int timeLimitMs, WriteEnd* end,
                               int* error) {
    const int fd = state_->fd;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeLimitMs);
    const auto* bytes = static_cast<const unsigned char*>(data);
    size_t written = 0;
    while (written < length) {
        ssize_t n = ::write(fd, bytes + written, length - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            *error = errno;
            *end = WriteEnd::Failed;
            return written;
        }
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            *error = ETIMEDOUT;
            *end = WriteEnd::TimedOut;
            return written;
        }
        pollfd fds[2] = {{fd, POLLOUT, 0}, {state_->stopFd, POLLIN, 0}};
        if (::poll(fds, 2, static_cast<int>(left.count())) < 0 && errno != EINTR) {
            *error = errno;
            *end = WriteEnd::Failed;
            return written;
        }
        if (fds[1].revents & POLLIN) {
            *error = ECANCELED;
            *end = WriteEnd::Stopped;
            return written;
        }
        // On POLLHUP or POLLERR the next write says what happened.
    }
    *end = WriteEnd::Done;
    return written;
}

WaitResult PosixPortBackend::Wait(bool wantData) {
    pollfd fds[3] = {
        {state_->fd, static_cast<short>(wantData ? POLLIN : 0), 0},
        {state_->stopFd, POLLIN, 0},
        {state_->wakeFd, POLLIN, 0},
    };
    WaitResult result;
    for (;;) {
        if (::poll(fds, 3, -1) >= 0) break;
        if (errno != EINTR) {
            // Nothing sensible is left to wait on; stopping beats spinning.
            result.hangUp = true;
            return result;
        }
    }
    result.stop = fds[1].revents & POLLIN;
    result.wake = fds[2].revents & POLLIN;
    result.readable = fds[0].revents & POLLIN;
    result.hangUp = fds[0].revents & (POLLHUP | POLLERR | POLLNVAL);
    return result;
}

void PosixPortBackend::SignalWake() {
    Signal(state_->wakeFd);
}

void PosixPortBackend::TakeWake() {
    if (state_->wakeFd < 0) return;
    std::uint64_t count = 0;
    // Non-blocking: a wake-up already taken leaves nothing to read, which is fine.
    [[maybe_unused]] ssize_t n = ::read(state_->wakeFd, &count, sizeof count);
}

void PosixPortBackend::SignalStop() {
    Signal(state_->stopFd);
}

std::unique_ptr<PortBackend> MakeSystemPortBackend() {
    return std::make_unique<PosixPortBackend>();
}

}  // namespace serial
