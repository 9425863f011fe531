// Building the largest dump (a style block of four styles of the largest size, about 300 KB
// once packed) against copying the same number of bytes once, in one run.
#include <benchmark/benchmark.h>

#include "core/midi/DumpMessage.h"
#include "core/storage/SetData.h"
#include "support/SetBuilder.h"

namespace {

const vx::SetData& FullStyleBlock() {
    static const vx::SetData set = [] {
        vx::test::RandomSetOptions options;
        options.styleUsedPercent = 100;
        options.maxStyleSize = 65535;
        vx::SetData data = vx::test::RandomSet(2026, options);
        vx::test::FillStyleBlock(data, 0);
        return data;
    }();
    return set;
}

void BM_BuildLargestDump(benchmark::State& state) {
    const vx::SetData& set = FullStyleBlock();
    std::size_t length = 0;
    for (auto _ : state) {
        vx::Bytes message;
        std::string error;
        vx::BuildDumpMessage(set, vx::ItemKind::Style, 0, vx::SysExHeader{}, message, error);
        length = message.size();
        benchmark::DoNotOptimize(message.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * length));
    state.counters["bytes"] = static_cast<double>(length);
}
BENCHMARK(BM_BuildLargestDump)->Unit(benchmark::kMicrosecond);

void BM_CopyLargestDumpOnce(benchmark::State& state) {
    vx::Bytes message;
    std::string error;
    vx::BuildDumpMessage(FullStyleBlock(), vx::ItemKind::Style, 0, vx::SysExHeader{}, message, error);
    for (auto _ : state) {
        vx::Bytes copy(message);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * message.size()));
    state.counters["bytes"] = static_cast<double>(message.size());
}
BENCHMARK(BM_CopyLargestDumpOnce)->Unit(benchmark::kMicrosecond);

}  // namespace
