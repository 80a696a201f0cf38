#pragma once
// A complete AT+SHOW answer as the virtual unit sends it, for the benchmarks that need one
// without a line in between.
#include <chrono>
#include <string>

#include "sim/VirtualUnit.h"

namespace bench {

// The unit of this variant, in configuration mode, asked for its listing; everything it sent.
inline std::string UnitListing(sim::UnitVariant variant) {
    sim::UnitOptions options;
    options.variant = variant;
    options.start = sim::UnitStart::Configuration;
    sim::VirtualUnit unit(options, sim::TimePoint{});
    unit.Feed("AT+SHOW\r\n", sim::TimePoint{});
    // The unit paces its output at the line's speed; an hour later it has all gone out.
    unit.Advance(sim::TimePoint{} + std::chrono::hours(1));
    return unit.TakeOutput();
}

}  // namespace bench
