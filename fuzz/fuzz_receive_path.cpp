// The receive path on arbitrary block sequences under every pending kind: the buffer never
// overflows, its length stays within 0 to 15999, and it always ends in a zero byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/EngineWindow.h"
#include "engine/JobTypes.h"
#include "engine/ReceivePath.h"

namespace {

// Every pending kind the receive path knows: the kinds that are no job, every job type of the
// table, and one it does not know.
const std::vector<JobType>& PendingKinds() {
    static const std::vector<JobType> kinds = [] {
        std::vector<JobType> all = {JobType::Settling, JobType::None, JobType::AwaitPrompt};
        for (const JobTypeRow& row : kJobTypes) all.push_back(row.type);
        all.push_back(static_cast<JobType>(99));
        return all;
    }();
    return kinds;
}

// A bare engine window: never created, so what the receive path posts (log blocks, button
// states) is released at once instead of piling up, and no QApplication is needed.
EngineWindow& Frame() {
    static EngineWindow frame;
    return frame;
}

void CheckBuffer(const EngineWindow& frame) {
    if (frame.rxLength < 0 || frame.rxLength > kRxBufferSize - 1) std::abort();
    if (frame.rxBuffer[frame.rxLength] != 0) std::abort();
    if (std::memchr(frame.rxBuffer, 0, static_cast<std::size_t>(frame.rxLength))) std::abort();
}

}  // namespace

// Input: one byte choosing the pending kind, then blocks, each a two-byte length (at most
// 4095) followed by its bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EngineWindow& frame = Frame();
    if (size == 0) return 0;
    frame.rxLength = 0;
    frame.rxBuffer[0] = 0;
    frame.pendingJobType = PendingKinds()[data[0] % PendingKinds().size()];
    std::size_t at = 1;
    while (at + 2 <= size) {
        std::size_t n = (static_cast<std::size_t>(data[at]) << 8 | data[at + 1]) % 4096;
        at += 2;
        n = std::min(n, size - at);
        // The driver's block: exactly the bytes and one spare for the terminator.
        std::vector<char> block(n + 1);
        std::memcpy(block.data(), data + at, n);
        at += n;
        OnReceive(frame, block.data(), static_cast<int>(n));
        CheckBuffer(frame);
    }
    frame.jobQueue.Clear();
    return 0;
}
