// The receive path alone: OnReceive on a frame awaiting a listing (pending kind ReadAll), fed
// the virtual unit's listing in blocks, as the serial monitor hands them over. The frame has no
// window, so the log blocks it posts are released at once instead of queued for the log view.
//
// BM_ReceiveListing/B: one whole listing in blocks of B bytes, until the answer is complete.
// 4095 is the monitor's largest block (a listing of about 4 kB fits in one); the smaller sizes
// are what a paced line delivers, and show what each block costs when the buffer, which is
// searched again after every block, grows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/FrameWnd.h"
#include "bench/UnitListing.h"
#include "engine/ReceivePath.h"

namespace {

constexpr int kMonitorBlock = static_cast<int>(CSerialPort::kMaxBlock);

// Puts the frame where a ReadAll job starts: the command written, nothing received yet.
void ArmReadAll(CM5Z30FrameWnd& frame) {
    ClearReceived(frame);
    frame.answerEvent.Reset();
    frame.pendingJobType = JobType::ReadAll;
}

// Hands bytes [offset, offset + count) over as one block, in a buffer with room for the
// terminating zero the receive path writes, as the monitor's own buffer has.
void Deliver(CM5Z30FrameWnd& frame, const std::string& listing, std::size_t offset, int count,
             std::vector<char>& block) {
    std::memcpy(block.data(), listing.data() + offset, static_cast<std::size_t>(count));
    OnReceive(frame, block.data(), count);
}

void BM_ReceiveListing(benchmark::State& state) {
    const std::string listing = bench::UnitListing(sim::UnitVariant::None);
    const int blockSize = static_cast<int>(state.range(0));
    CM5Z30FrameWnd frame;
    std::vector<char> block(kMonitorBlock + 1);
    int blocks = 0;
    for (auto _ : state) {
        ArmReadAll(frame);
        blocks = 0;
        for (std::size_t at = 0; at < listing.size(); at += static_cast<std::size_t>(blockSize)) {
            const int n = static_cast<int>(std::min<std::size_t>(blockSize, listing.size() - at));
            Deliver(frame, listing, at, n, block);
            ++blocks;
        }
        if (frame.pendingJobType != JobType::None || !frame.answerEvent.IsSet()) {
            state.SkipWithError("the listing did not complete the answer");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * listing.size()));
    state.counters["listing_bytes"] = static_cast<double>(listing.size());
    state.counters["blocks"] = blocks;
    state.counters["per_block"] = benchmark::Counter(
        static_cast<double>(blocks),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReceiveListing)
    ->Arg(kMonitorBlock)
    ->Arg(1024)
    ->Arg(256)
    ->Arg(64)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
