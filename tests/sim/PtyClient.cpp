#include "tests/sim/PtyClient.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace simtest {

PtyClient::~PtyClient() {
    Close();
}

bool PtyClient::Open(const std::string& path, std::string* error) {
    Close();
    fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios settings{};
    if (fd < 0 || ::tcgetattr(fd, &settings) != 0) {
        *error = path + ": " + std::strerror(errno);
        Close();
        return false;
    }
    ::cfmakeraw(&settings);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
        *error = std::string("tcsetattr: ") + std::strerror(errno);
        Close();
        return false;
    }
    hungUp = false;
    return true;
}

void PtyClient::Close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

bool PtyClient::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else if (!(n < 0 && errno == EINTR)) {
            return false;
        }
    }
    return true;
}

bool PtyClient::ReadOnce(Clock::time_point deadline) {
    if (fd < 0 || hungUp) return false;
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0) <= 0) return true;
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
        received.append(buffer, static_cast<std::size_t>(n));
        lastByteAt = Clock::now();
        return true;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    hungUp = true;  // EIO or end of file: the master is gone
    return false;
}

bool PtyClient::ReadUntilMatch(const std::function<bool(const std::string&)>& done,
                               milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!done(received)) {
        if (Clock::now() >= deadline || !ReadOnce(deadline)) return done(received);
    }
    return true;
}

bool PtyClient::ReadUntil(std::string_view marker, milliseconds limit) {
    return ReadUntilMatch(
        [marker](const std::string& text) { return text.find(marker) != std::string::npos; },
        limit);
}

void PtyClient::ReadFor(milliseconds span) {
    const auto deadline = Clock::now() + span;
    while (Clock::now() < deadline && ReadOnce(deadline)) {
    }
}

bool PtyClient::WaitHangup(milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!hungUp && Clock::now() < deadline) ReadOnce(deadline);
    return hungUp;
}

std::string PtyClient::Take() {
    std::string out;
    out.swap(received);
    return out;
}

}  // namespace simtest
