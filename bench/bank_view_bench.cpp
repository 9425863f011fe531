// Filling a program bank view with HighCall on: one scan of the set's calls and the 64 cells'
// texts and colours, measured beside the bare scan (the baseline) and beside the old way of one
// caller scan per cell.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "core/catalogue/PresetNames.h"
#include "core/selection/BankView.h"
#include "core/storage/SetData.h"

namespace {

struct FullSet {
    std::unique_ptr<vx::SetData> data = std::make_unique<vx::SetData>();
    vx::PresetTables presets;
};

std::string RandomName(std::mt19937& random) {
    std::string name(16, ' ');
    const auto length = std::uniform_int_distribution<std::size_t>(1, 16)(random);
    for (std::size_t i = 0; i < length; ++i) name[i] = static_cast<char>('A' + random() % 26);
    return name;
}

// Every item named and every track calling a program of any bank, as in a set used for years.
const FullSet& Set() {
    static const FullSet set = [] {
        FullSet full;
        std::mt19937 random(50);
        auto program = [&random] {
            static const int bases[] = {0, 64, 256, 320, 512, 768, 832, 1024};
            return bases[random() % 8] + static_cast<int>(random() % 40);
        };
        vx::SetData& data = *full.data;
        for (auto& arr : data.arr.arr) {
            arr.SetName(RandomName(random));
            arr.SetStyle(random() % 2 ? 256 + static_cast<int>(random() % 48) : static_cast<int>(random() % 128));
            for (int t = 0; t < vx::ArrangementRecord::kTrackCount; ++t) arr.SetTrackProgram(t, program());
        }
        for (auto& style : data.sty.slots) {
            style.record.SetName(RandomName(random));
            style.size = static_cast<std::uint16_t>(1176 + 4 * (random() % 3000));
            for (int t = 0; t < vx::StyleRecord::kTrackCount; ++t) style.record.SetTrackProgram(t, program());
        }
        for (auto& record : data.prg.records) record.SetName(RandomName(random));
        for (auto& bsq : data.bsq.entries) {
            bsq.record.SetName(RandomName(random));
            bsq.record.SetArrangement(256 + static_cast<int>(random() % 128));
            bsq.record.SetStyle(256 + static_cast<int>(random() % 48));
            for (int t = 0; t < vx::BsqRecord::kTrackCount; ++t) bsq.record.SetTrackProgram(t, program());
        }
        for (auto& song : data.sng.entries) {
            song.record.SetName(RandomName(random));
            for (int t = 0; t < vx::SongRecord::kTrackCount; ++t) song.record.SetTrackProgram(t, program());
        }
        for (auto& kbd : data.ark.records)
            for (int t = 0; t < vx::KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, program());
        for (auto& item : full.presets.programsAB) item.name = RandomName(random);
        for (auto& item : full.presets.programsCD) item.name = RandomName(random);
        for (auto& item : full.presets.programsE) item.name = RandomName(random);
        for (auto& item : full.presets.drumKitsR) item.name = RandomName(random);
        return full;
    }();
    return set;
}

constexpr int kBankF = 5;

// Baseline: one plain scan of all calls of the set.
void BM_ScanAllCalls(benchmark::State& state) {
    const FullSet& set = Set();
    for (auto _ : state) {
        vx::CallIndex index = vx::BuildCallIndex(*set.data);
        benchmark::DoNotOptimize(index);
    }
}
BENCHMARK(BM_ScanAllCalls);

// The program grid's fill with HighCall on: the scan, then the 64 cells of bank F.
void BM_FillProgramBank(benchmark::State& state) {
    const FullSet& set = Set();
    const vx::GridLayout layout = vx::BankGridLayout(vx::BankedKind::Program, kBankF, false);
    for (auto _ : state) {
        const vx::CallIndex index = vx::BuildCallIndex(*set.data);
        for (int row = 0; row < layout.rows; ++row) {
            for (int column = 0; column < vx::kGridColumns; ++column) {
                const int number = vx::GridCellNumber(vx::BankedKind::Program, layout, row, column);
                std::string text = vx::PrgCellText(*set.data, set.presets, number);
                std::uint32_t colour = vx::PrgCellColour(*set.data, number, &index);
                benchmark::DoNotOptimize(text);
                benchmark::DoNotOptimize(colour);
            }
        }
    }
}
BENCHMARK(BM_FillProgramBank);

// For comparison: a caller scan per cell, 64 scans of the whole set.
void BM_FillProgramBankScanPerCell(benchmark::State& state) {
    const FullSet& set = Set();
    const vx::GridLayout layout = vx::BankGridLayout(vx::BankedKind::Program, kBankF, false);
    for (auto _ : state) {
        for (int row = 0; row < layout.rows; ++row) {
            for (int column = 0; column < vx::kGridColumns; ++column) {
                const int number = vx::GridCellNumber(vx::BankedKind::Program, layout, row, column);
                std::string text = vx::PrgCellText(*set.data, set.presets, number);
                int callers = vx::CountProgramCallers(*set.data, number);
                benchmark::DoNotOptimize(text);
                benchmark::DoNotOptimize(callers);
            }
        }
    }
}
BENCHMARK(BM_FillProgramBankScanPerCell);

}  // namespace
