#include "sim/Transmitter.h"

#include <algorithm>

namespace sim {

namespace {
constexpr long long kBitsPerByte = 10;
}

Transmitter::Transmitter(int baud)
    : byteTime(std::chrono::nanoseconds(kBitsPerByte * 1000000000LL /
                                        std::clamp(baud, kMinBaud, kMaxBaud))) {}

void Transmitter::Queue(std::string bytes, TimePoint notBefore, Duration gap) {
    if (bytes.empty()) return;
    queue.push_back({std::move(bytes), notBefore, gap});
}

TimePoint Transmitter::NextByteEnd() const {
    if (queue.empty() || LimitReached()) return TimePoint::max();
    const Segment& segment = queue.front();
    const TimePoint earliest = position == 0 ? segment.notBefore : lineFreeAt + segment.gap;
    return std::max(lineFreeAt, earliest) + byteTime;
}

void Transmitter::Advance(TimePoint now) {
    while (!queue.empty() && !LimitReached()) {
        const TimePoint end = NextByteEnd();
        if (end > now) break;
        Segment& segment = queue.front();
        ready += segment.bytes[position];
        ++sent;
        lineFreeAt = end;
        if (++position == segment.bytes.size()) {
            queue.pop_front();
            position = 0;
        }
    }
}

std::string Transmitter::Take() {
    std::string out;
    out.swap(ready);
    return out;
}

TimePoint Transmitter::NextDeadline() const {
    return NextByteEnd();
}

void Transmitter::Clear() {
    queue.clear();
    position = 0;
}

}  // namespace sim
