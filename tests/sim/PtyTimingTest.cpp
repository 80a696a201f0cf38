// Wire timing through the pseudo-terminal: the unit's output takes as long as its bytes need
// at the line speed (10 bits a byte), so a program's time-outs meet real durations.
#include <gtest/gtest.h>

#include "tests/sim/SimTestSupport.h"

namespace {

using namespace std::chrono_literals;
using simtest::Clock;
using simtest::UnitOnLine;

TEST(PtyTimingTest, ListingTakesItsWireTime) {
    for (int baud : {115200, 9600}) {
        SCOPED_TRACE(baud);
        sim::UnitOptions options = simtest::FastOptions();
        options.baud = baud;
        UnitOnLine line(options);
        std::string error;
        ASSERT_TRUE(line.Ready(&error)) << error;
        const auto start = Clock::now();
        line.client.Write("\r\nAT+SHOW\r\n");
        ASSERT_TRUE(line.client.ReadUntil(simtest::kOk, 10000ms));
        const double elapsed =
            std::chrono::duration<double>(line.client.LastByteAt() - start).count();
        const double wire = line.client.Received().size() * 10.0 / baud;
        // Never faster than the line. Slower only by what a loaded machine adds (the host
        // catches up when it falls behind, and a sanitizer build on a busy machine can fall a
        // second behind), below what pacing applied twice would cost at 9600 baud.
        EXPECT_GE(elapsed, wire * 0.9) << line.client.Received().size() << " bytes";
        EXPECT_LE(elapsed, wire * 1.5 + 1.0) << line.client.Received().size() << " bytes";
    }
}

}  // namespace
