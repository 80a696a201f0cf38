// inotify: one descriptor for all watched folders (the device folder, its serial/by-id, the
// folders of followed ports), read by a thread that sleeps in poll.
#include "serial/PortWatcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "serial/NetworkPort.h"

namespace serial {

namespace {

constexpr uint32_t kEntryChanges =
    IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF;

// Reads every notice queued; false when the descriptor failed.
bool DrainNotices(int fd) {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) continue;
        return got < 0 && (errno == EAGAIN || errno == EINTR);
    }
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// A network port's server is asked this often whether it takes connections again; no system
// notice says so.
constexpr int kNetworkRetryMs = 1000;
constexpr int kNetworkProbeMs = 800;

}  // namespace

struct PortWatcher::State {
    int notices = -1;  // inotify descriptor
    int stop = -1;     // eventfd that ends the thread
    int poke = -1;     // eventfd: a network port is newly awaited
    std::string devRoot;
    std::function<void()> changed;
    std::thread thread;
    // Network ports awaited back, until their server accepts; the thread asks them in turn.
    std::mutex awaitedLock;
    std::vector<std::string> awaited;

    // Asks each awaited network port once; true when one came back (it is then no longer
    // awaited).
    bool ProbeAwaited() {
        std::vector<std::string> names;
        {
            std::lock_guard lock(awaitedLock);
            names = awaited;
        }
        bool back = false;
        for (const std::string& name : names) {
            if (!NetworkPortAnswers(name, kNetworkProbeMs)) continue;
            std::lock_guard lock(awaitedLock);
            awaited.erase(std::remove(awaited.begin(), awaited.end(), name), awaited.end());
            back = true;
        }
        return back;
    }

    bool AnyAwaited() {
        std::lock_guard lock(awaitedLock);
        return !awaited.empty();
    }

    // The device folder, and its by-id folder, which udev makes with the first adapter:
    // watched again after every change until it is there.
    void WatchDeviceFolders() {
        const std::filesystem::path dev = devRoot;
        for (const std::filesystem::path& folder : {dev, dev / "serial/by-id"})
            ::inotify_add_watch(notices, folder.c_str(), kEntryChanges);
    }

    void Run() {
        using Clock = std::chrono::steady_clock;
        const auto retry = std::chrono::milliseconds(kNetworkRetryMs);
        auto nextProbe = Clock::now() + retry;
        pollfd fds[3] = {{notices, POLLIN, 0}, {stop, POLLIN, 0}, {poke, POLLIN, 0}};
        for (;;) {
            int timeout = -1;
            if (AnyAwaited()) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(nextProbe - Clock::now());
                timeout = static_cast<int>(std::max<long long>(0, left.count()));
            }
            if (::poll(fds, 3, timeout) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[1].revents) return;
            if (fds[2].revents & POLLIN) {
                uint64_t count = 0;
                [[maybe_unused]] ssize_t n = ::read(poke, &count, sizeof count);
                nextProbe = Clock::now() + retry;
            }
            if (AnyAwaited() && Clock::now() >= nextProbe) {
                nextProbe = Clock::now() + retry;
                if (ProbeAwaited() && changed) changed();
            }
            if (!fds[0].revents) continue;
            if (!(fds[0].revents & POLLIN) || !DrainNotices(notices)) return;
            WatchDeviceFolders();
            if (changed) changed();
        }
    }
};

PortWatcher::PortWatcher() : state_(std::make_unique<State>()) {}

PortWatcher::~PortWatcher() {
    Stop();
}

bool PortWatcher::Start(std::function<void()> changed, const PortRoots& roots) {
    State& s = *state_;
    if (s.thread.joinable()) return true;
    s.notices = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    s.stop = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    s.poke = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (s.notices < 0 || s.stop < 0 || s.poke < 0) {
        Stop();
        return false;
    }
    s.changed = std::move(changed);
    s.devRoot = roots.devRoot;
    s.WatchDeviceFolders();
    try {
        s.thread = std::thread([&s] { s.Run(); });
    } catch (const std::system_error&) {
        Stop();
        return false;
    }
    return true;
}

void PortWatcher::Follow(const std::string& device) {
    if (state_->notices < 0) return;
    if (IsNetworkPortName(device)) {
        {
            std::lock_guard lock(state_->awaitedLock);
            if (std::find(state_->awaited.begin(), state_->awaited.end(), device) ==
                state_->awaited.end())
                state_->awaited.push_back(device);
        }
        // The thread may sleep without a time limit: a notice on the inotify descriptor is not
        // at hand, so it is woken to take up the new timing.
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t ignored = ::write(state_->poke, &one, sizeof one);
        return;
    }
    const std::string folder = std::filesystem::path(device).parent_path().string();
    ::inotify_add_watch(state_->notices, folder.c_str(), kEntryChanges);
}

bool PortWatcher::IsRunning() const {
    return state_->thread.joinable();
}

void PortWatcher::Stop() {
    State& s = *state_;
    if (s.thread.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t ignored = ::write(s.stop, &one, sizeof one);
        s.thread.join();
    }
    {
        std::lock_guard lock(s.awaitedLock);
        s.awaited.clear();
    }
    for (int* fd : {&s.notices, &s.stop, &s.poke}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

bool WaitForPort(const std::string& path, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    if (IsNetworkPortName(path)) {
        for (;;) {
            const auto started = Clock::now();
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - started).count();
            if (NetworkPortAnswers(
                    path, static_cast<int>(std::clamp<long long>(left, 1, kNetworkProbeMs))))
                return true;
            if (Clock::now() >= deadline) return false;
            std::this_thread::sleep_until(
                std::min(deadline, started + std::chrono::milliseconds(kNetworkRetryMs)));
        }
    }
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return Exists(path);
    bool found = false;
    for (;;) {
        // The nearest folder that exists: the one that will change when the path is made.
        std::filesystem::path folder = std::filesystem::path(path).parent_path();
        while (!folder.empty() && !Exists(folder.string()) && folder != folder.parent_path())
            folder = folder.parent_path();
        if (!folder.empty()) ::inotify_add_watch(fd, folder.c_str(), kEntryChanges);
        // Checked after the watch is in place, so a node made in between is not missed.
        if ((found = Exists(path))) break;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, static_cast<int>(left)) < 0 && errno != EINTR) break;
        DrainNotices(fd);
    }
    ::close(fd);
    return found;
}

}  // namespace serial
