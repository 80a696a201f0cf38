// inotify: one descriptor for all watched folders (the device folder, its serial/by-id, the
// folders of followed ports), read by a thread that sleeps in poll.
#include "serial/PortWatcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

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

}  // namespace

struct PortWatcher::State {
    int notices = -1;  // inotify descriptor
    int stop = -1;     // eventfd that ends the thread
    std::string devRoot;
    std::function<void()> changed;
    std::thread thread;

    // The device folder, and its by-id folder, which udev makes with the first adapter:
    // watched again after every change until it is there.
    void WatchDeviceFolders() {
        const std::filesystem::path dev = devRoot;
        for (const std::filesystem::path& folder : {dev, dev / "serial/by-id"})
            ::inotify_add_watch(notices, folder.c_str(), kEntryChanges);
    }

    void Run() {
        pollfd fds[2] = {{notices, POLLIN, 0}, {stop, POLLIN, 0}};
        for (;;) {
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[1].revents) return;
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
    if (s.notices < 0 || s.stop < 0) {
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
    for (int* fd : {&s.notices, &s.stop}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

bool WaitForPort(const std::string& path, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
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
