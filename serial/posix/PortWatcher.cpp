// inotify: one descriptor for all watched folders, read by a thread that sleeps in poll.
#include "serial/PortWatcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "ui/Window.h"

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

PortWatcher::~PortWatcher() {
    Stop();
}

bool PortWatcher::Start(CWindowWnd* owner, UINT message) {
    if (thread_.joinable()) return true;
    notices_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    stop_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (notices_ < 0 || stop_ < 0) {
        Stop();
        return false;
    }
    owner_ = owner;
    message_ = message;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        Stop();
        return false;
    }
    return true;
}

bool PortWatcher::Watch(const std::string& folder) {
    return notices_ >= 0 && ::inotify_add_watch(notices_, folder.c_str(), kEntryChanges) >= 0;
}

void PortWatcher::Stop() {
    if (thread_.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t ignored = ::write(stop_, &one, sizeof one);
        thread_.join();
    }
    for (int* fd : {&notices_, &stop_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

void PortWatcher::Run() {
    pollfd fds[2] = {{notices_, POLLIN, 0}, {stop_, POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN) || !DrainNotices(notices_)) return;
        if (owner_) owner_->PostMessage(message_, 0, 0);
    }
}

bool WaitForPath(const std::string& path, int timeoutMs) {
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
