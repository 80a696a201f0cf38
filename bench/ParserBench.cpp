// The listing parser and the .cfg codec alone, on the virtual unit's own listings.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/UnitListing.h"
#include "params/ConfigFileText.h"
#include "params/DeviceAnswer.h"
#include "params/ParameterTable.h"

namespace {

void BM_ParseListing(benchmark::State& state) {
    std::string listing = bench::UnitListing(static_cast<sim::UnitVariant>(state.range(0)));
    ParameterTable table;
    BuildParameterTable(table);
    for (auto _ : state) {
        ParseDeviceAnswer(table, listing.data(), static_cast<int>(listing.size()));
        benchmark::DoNotOptimize(table.FindParameter("Server's Ip"));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * listing.size()));
    state.counters["listing_bytes"] = static_cast<double>(listing.size());
}
BENCHMARK(BM_ParseListing)->Arg(0)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_ConfigFileRoundTrip(benchmark::State& state) {
    std::string listing = bench::UnitListing(sim::UnitVariant::Lora);
    for (auto _ : state) {
        std::string file = EncodeConfigText(listing);
        benchmark::DoNotOptimize(DecodeConfigText(file));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * listing.size()));
}
BENCHMARK(BM_ConfigFileRoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
