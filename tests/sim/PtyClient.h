#pragma once
// A test's end of the virtual unit's line: opens the slave path as a program opens a serial
// port (raw mode), writes plain bytes and reads with time limits.
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace simtest {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class PtyClient {
  public:
    PtyClient() = default;
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    // Opens `path` read-write, non-blocking, raw; false with errno text in `error`.
    bool Open(const std::string& path, std::string* error);
    void Close();
    // Writes all of `bytes`.
    bool Write(std::string_view bytes);
    // Reads until `marker` has arrived (searching everything read since the last Take) or
    // `limit` has passed; true when the marker came.
    bool ReadUntil(std::string_view marker, milliseconds limit);
    // Reads until `done` holds for everything read since the last Take, or `limit` passed;
    // returns `done`'s last verdict.
    bool ReadUntilMatch(const std::function<bool(const std::string&)>& done, milliseconds limit);
    // Reads whatever arrives during `span`.
    void ReadFor(milliseconds span);
    // Waits up to `limit` for the line to hang up; true when it did.
    bool WaitHangup(milliseconds limit);
    // Everything read since the last Take, handed over and forgotten.
    std::string Take();
    // Everything read since the last Take.
    const std::string& Received() const { return received; }
    // When the last byte arrived.
    Clock::time_point LastByteAt() const { return lastByteAt; }

  private:
    // One poll and read; false on hang-up.
    bool ReadOnce(Clock::time_point deadline);

    int fd = -1;
    bool hungUp = false;
    std::string received;
    Clock::time_point lastByteAt{};
};

}  // namespace simtest
