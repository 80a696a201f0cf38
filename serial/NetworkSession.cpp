#include "serial/NetworkSession.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

namespace serial {

namespace {

// A raw port's server turns a second client away at once, with a text and a close: this long
// after the connection it has done so.
constexpr auto kRefusalGrace = std::chrono::milliseconds(100);

long MillisecondsUntil(NetworkSession::Clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - NetworkSession::Clock::now());
    return static_cast<long>(std::max<long long>(0, left.count()));
}

// The server's text, fit for one line of a message: printable, without its line ends.
std::string OneLine(std::string_view text) {
    std::string line;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) line += c;
        if (line.size() >= 80) break;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

// Whether the server's parting words say the port is taken ("Port already in use", "busy").
bool SaysPortInUse(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("in use") != std::string::npos || lower.find("busy") != std::string::npos;
}

}  // namespace

bool NetworkSession::StartSession(NetworkMode mode, Clock::time_point deadline, int* error) {
    mode_ = mode;
    std::unique_lock lock(rxLock_);
    if (mode_ == NetworkMode::Raw) {
        AwaitLocked(lock, Clock::now() + kRefusalGrace, [] { return false; });
        if (!ended_) return true;
        *error = ClosedError();
        return false;
    }
    WriteEnd end = WriteEnd::Done;
    SendAll(decoder_.Greet(), deadline, &end, error);
    if (end != WriteEnd::Done) {
        *error = LostOrError(*error);
        return false;
    }
    const bool settled = AwaitLocked(
        lock, deadline, [this] { return decoder_.ComPortAgreed() || decoder_.ComPortDeclined(); });
    if (ended_)
        *error = ClosedError();
    else if (!settled)
        *error = codes_.connectTimedOut;
    else if (!decoder_.ComPortAgreed())
        *error = codes_.notSupported;
    else
        return true;
    return false;
}

void NetworkSession::EndSession() {
    decoder_ = {};
    unread_.clear();
    answers_.clear();
    ended_ = false;
}

void NetworkSession::TakeIn(std::string_view input) {
    std::string data;
    if (mode_ == NetworkMode::Rfc2217) {
        decoder_.Feed(input, &data);
        for (auto& answer : decoder_.TakeAnswers()) answers_.push_back(std::move(answer));
        const std::string replies = decoder_.TakeReplies();
        if (!replies.empty()) {
            WriteEnd end = WriteEnd::Done;
            int error = 0;
            SendAll(replies, Clock::now() + kSettingsTime, &end, &error);
        }
    } else {
        data.assign(input);
    }
    if (unread_.size() < kMaxUnread) unread_ += data;
}

int NetworkSession::ClosedError() {
    refusal_ = OneLine(unread_);
    return SaysPortInUse(refusal_) ? codes_.busy : codes_.closed;
}

bool NetworkSession::ApplySettings(const CommSettings& s, int* error) {
    const bool validParity =
        s.parity && std::string_view("NEOMS").find(s.parity) != std::string_view::npos;
    if (s.baud == 0 || s.dataBits < 5 || s.dataBits > 8 || !validParity || !IsSupportedFrame(s)) {
        *error = codes_.invalidSetting;
        return false;
    }
    // A raw port's line is the server's to set.
    if (mode_ == NetworkMode::Raw) return true;
    const unsigned stopCode = s.stopBits == StopBits::One ? 1 : s.stopBits == StopBits::Two ? 2 : 3;
    const std::vector<telnet::LineCommand> commands =
        telnet::LineCommands(s.baud, s.dataBits, s.parity, stopCode);
    std::string bytes;
    for (const telnet::LineCommand& c : commands)
        bytes += telnet::ComPortCommand(c.command, c.value);
    const auto deadline = Clock::now() + kSettingsTime;
    std::unique_lock lock(rxLock_);
    answers_.clear();
    WriteEnd end = WriteEnd::Done;
    SendAll(bytes, deadline, &end, error);
    if (end != WriteEnd::Done) {
        // A server that closed on us may have said why first.
        PumpLocked();
        *error = ended_ ? ClosedError() : LostOrError(*error);
        return false;
    }
    // Each setting is confirmed by the server's answer with the value it now has; a server that
    // cannot do the one asked answers with another, which is a refusal.
    const auto answered = [&](const telnet::LineCommand& c) {
        return std::any_of(answers_.begin(), answers_.end(), [&](const auto& a) {
            return a.command == c.command + telnet::kServerOffset;
        });
    };
    const bool all = AwaitLocked(
        lock, deadline, [&] { return std::all_of(commands.begin(), commands.end(), answered); });
    if (ended_) {
        *error = ClosedError();
        return false;
    }
    if (!all) {
        *error = codes_.settingTimedOut;
        return false;
    }
    for (const telnet::LineCommand& c : commands) {
        for (const auto& a : answers_) {
            if (a.command == c.command + telnet::kServerOffset && a.value != c.value) {
                *error = codes_.invalidSetting;
                return false;
            }
        }
    }
    return true;
}

template <typename Done>
bool NetworkSession::AwaitLocked(std::unique_lock<std::mutex>& lock, Clock::time_point deadline,
                                 Done done) {
    for (;;) {
        PumpLocked();
        if (done()) return true;
        if (ended_) return false;
        const long left = MillisecondsUntil(deadline);
        if (left <= 0) return false;
        lock.unlock();
        WaitForInput(left);
        lock.lock();
    }
}

bool NetworkSession::Purge(PurgeSide side) {
    if (side == PurgeSide::Transmit) return true;
    std::lock_guard lock(rxLock_);
    PumpLocked();
    unread_.clear();
    return true;
}

int NetworkSession::QueuedBytes(int*) {
    std::lock_guard lock(rxLock_);
    return static_cast<int>(std::min<size_t>(unread_.size(), INT32_MAX));
}

long NetworkSession::Read(void* buffer, size_t size, int* error) {
    std::lock_guard lock(rxLock_);
    if (unread_.empty()) {
        if (ended_) return 0;
        *error = codes_.nothingToRead;
        return -1;
    }
    const size_t n = std::min(size, unread_.size());
    std::memcpy(buffer, unread_.data(), n);
    unread_.erase(0, n);
    return static_cast<long>(n);
}

size_t NetworkSession::Write(const void* data, size_t length, int timeLimitMs, WriteEnd* end,
                             int* error) {
    const std::string_view bytes(static_cast<const char*>(data), length);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeLimitMs);
    if (mode_ == NetworkMode::Raw) return SendAll(bytes, deadline, end, error);
    const std::string escaped = telnet::Escape(bytes);
    return telnet::DataBytesIn(bytes, SendAll(escaped, deadline, end, error));
}

}  // namespace serial
