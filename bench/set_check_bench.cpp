// The set check against one plain walk over every call of the same set, and reading the largest
// dump back against building it, each pair in one run.
#include <benchmark/benchmark.h>

#include "core/calls/CallSites.h"
#include "core/check/SetCheck.h"
#include "core/midi/DumpMessage.h"
#include "core/midi/DumpParser.h"
#include "support/SetBuilder.h"

namespace {

const vx::SetData& FullSet() {
    static const vx::SetData set = [] {
        vx::test::RandomSetOptions options;
        options.emptyPercent = 0;
        options.styleUsedPercent = 100;
        vx::SetData data = vx::test::RandomSet(14, options);
        vx::test::FillStyleBlock(data, 0);
        return data;
    }();
    return set;
}

void BM_CheckSet(benchmark::State& state) {
    std::size_t findings = 0;
    for (auto _ : state) {
        const auto found = vx::CheckSet(FullSet());
        findings = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckSet)->Unit(benchmark::kMicrosecond);

// The baseline: every call of the set visited once, as each question about callers does.
void BM_WalkEveryCall(benchmark::State& state) {
    for (auto _ : state) {
        long sum = 0;
        vx::ForEachCall(FullSet(), [&sum](const vx::CallSite& site) { sum += site.number; });
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_WalkEveryCall)->Unit(benchmark::kMicrosecond);

const vx::Bytes& LargestDump() {
    static const vx::Bytes message = [] {
        vx::Bytes built;
        std::string error;
        vx::BuildDumpMessage(FullSet(), vx::ItemKind::Style, 0, vx::SysExHeader{}, built, error);
        return built;
    }();
    return message;
}

void BM_ReadLargestDump(benchmark::State& state) {
    for (auto _ : state) {
        vx::ParsedDump parsed;
        std::string error;
        benchmark::DoNotOptimize(vx::ParseDumpMessage(LargestDump(), parsed, error));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * LargestDump().size()));
}
BENCHMARK(BM_ReadLargestDump)->Unit(benchmark::kMicrosecond);

void BM_BuildLargestDumpAgain(benchmark::State& state) {
    for (auto _ : state) {
        vx::Bytes message;
        std::string error;
        vx::BuildDumpMessage(FullSet(), vx::ItemKind::Style, 0, vx::SysExHeader{}, message, error);
        benchmark::DoNotOptimize(message.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * LargestDump().size()));
}
BENCHMARK(BM_BuildLargestDumpAgain)->Unit(benchmark::kMicrosecond);

}  // namespace
