// The listing parser and the .cfg codec alone, on the virtual unit's own listings.
#include <benchmark/benchmark.h>

#include <string>

#include "params/ConfigFileText.h"
#include "params/DeviceAnswer.h"
#include "params/ParameterTable.h"
#include "sim/VirtualUnit.h"

namespace {

// A complete listing as the unit sends it, taken from the virtual unit in configuration mode.
std::string Listing(sim::UnitVariant variant) {
    sim::UnitOptions options;
    options.variant = variant;
    options.start = sim::UnitStart::Configuration;
    sim::VirtualUnit unit(options, sim::TimePoint{});
    unit.Feed("AT+SHOW\r\n", sim::TimePoint{});
    // The unit paces its output at the line's speed; an hour later it has all gone out.
    unit.Advance(sim::TimePoint{} + std::chrono::hours(1));
    return unit.TakeOutput();
}

void BM_ParseListing(benchmark::State& state) {
    std::string listing = Listing(static_cast<sim::UnitVariant>(state.range(0)));
    ParameterTable table;
    BuildParameterTable(table);
    for (auto _ : state) {
        ParseDeviceAnswer(table, listing.data(), static_cast<int>(listing.size()));
        benchmark::DoNotOptimize(table.FindParameter("Server's Ip"));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * listing.size()));
    state.counters["listing_bytes"] = static_cast<double>(listing.size());
}
BENCHMARK(BM_ParseListing)->Arg(0)->Arg(1)->Arg(3);

void BM_ConfigFileRoundTrip(benchmark::State& state) {
    std::string listing = Listing(sim::UnitVariant::Lora);
    for (auto _ : state) {
        std::string file = EncodeConfigText(listing);
        benchmark::DoNotOptimize(DecodeConfigText(file));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * listing.size()));
}
BENCHMARK(BM_ConfigFileRoundTrip);

}  // namespace

BENCHMARK_MAIN();
