// Building the set report against one walk over every call of the same set, in one run. The
// report's call sections ask the call-site visitor for the callers of each of the 312 user
// items, so their cost is counted in walks.
#include <benchmark/benchmark.h>

#include "core/calls/CallSites.h"
#include "core/catalogue/PresetNames.h"
#include "core/reports/SetReport.h"
#include "core/reports/SubsetReport.h"
#include "support/SetBuilder.h"

namespace {

const vx::SetData& FullSet() {
    static const vx::SetData data = [] {
        vx::test::RandomSetOptions options;
        options.emptyPercent = 0;
        options.styleUsedPercent = 100;
        return vx::test::RandomSet(2024, options);
    }();
    return data;
}

void BM_Baseline_OneCallWalk(benchmark::State& state) {
    for (auto _ : state) {
        int calls = 0;
        vx::ForEachCall(FullSet(), [&](const vx::CallSite& site) { calls += site.number >= 0; });
        benchmark::DoNotOptimize(calls);
    }
}
BENCHMARK(BM_Baseline_OneCallWalk);

void BM_ReportCallers(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(vx::CollectReportCallers(FullSet()));
}
BENCHMARK(BM_ReportCallers);

void BM_WholeSetReport(benchmark::State& state) {
    const vx::PresetTables presets;
    for (auto _ : state) {
        std::string text = vx::SetReportHeading("FULL", "5-Dec-2026 02:07:30");
        text += vx::SetReportItemSections(FullSet(), presets, "FULL");
        text += vx::SetReportCallSections(vx::CollectReportCallers(FullSet()), "FULL");
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_WholeSetReport);

void BM_SubsetReportArrangementsWithPresets(benchmark::State& state) {
    const vx::PresetTables presets;
    for (auto _ : state) benchmark::DoNotOptimize(vx::SubsetReportText(FullSet(), presets, "FULL", 0, true));
}
BENCHMARK(BM_SubsetReportArrangementsWithPresets);

}  // namespace
