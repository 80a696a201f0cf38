#pragma once
// The unit's serial transmitter: bytes leave one at a time at the line's speed (10 bits a
// byte: start, 8 data, stop), in the order they were queued, each segment not before its
// own start time. Single-threaded (owned by VirtualUnit); time comes in as arguments.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "sim/UnitTypes.h"

namespace sim {

class Transmitter {
  public:
    explicit Transmitter(int baud);

    // Queues bytes to go out after everything already queued, not before `notBefore`; with a
    // `gap` each byte after the first waits that long after the previous one has gone out.
    void Queue(std::string bytes, TimePoint notBefore, Duration gap = {});
    // Sends every byte whose wire time has ended by `now`.
    void Advance(TimePoint now);
    // The bytes sent since the last call.
    std::string Take();
    // When the next byte will have gone out; TimePoint::max() when nothing waits or the
    // output limit is reached.
    TimePoint NextDeadline() const;
    // Forgets whatever has not gone out yet (a reboot empties the UART).
    void Clear();
    // Stops sending once `total` bytes have gone out in all.
    void LimitTotal(std::uint64_t total) { limit = total; }
    // True when the output limit has been reached.
    bool LimitReached() const { return limit && sent >= *limit; }
    // True when nothing waits to be sent.
    bool Idle() const { return queue.empty(); }
    // Bytes sent since construction.
    std::uint64_t Sent() const { return sent; }
    // Wire time of one byte.
    Duration ByteTime() const { return byteTime; }

  private:
    struct Segment {
        std::string bytes;
        TimePoint notBefore;
        Duration gap;
    };

    TimePoint NextByteEnd() const;

    Duration byteTime;
    std::deque<Segment> queue;
    std::size_t position = 0;  // next byte of queue.front()
    TimePoint lineFreeAt{};    // when the last byte finished
    std::string ready;
    std::uint64_t sent = 0;
    std::optional<std::uint64_t> limit;
};

}  // namespace sim
