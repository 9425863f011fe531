// Delete of slot 0 of a full program bank: 63 programs move up and every call to them, over all
// five calling kinds, follows in one pass. Measured beside one plain scan of all the set's calls
// (the baseline); the delete also moves the records and keeps what Undo needs.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "catalogue/CatalogueInit.h"
#include "editing/EditScheme.h"
#include "presets/PresetNames.h"
#include "storage/Session.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace {

// Answers the referenced-by question No and keeps nothing, so that a long run does not grow.
class QuietInteraction : public vx::test::ScriptedInteraction {
public:
    vx::Answer ShowMessage(const vx::Message&) override { return vx::Answer::No; }
    void KindChanged(int, vx::ItemKind) override {}
    void ItemChanged(int, vx::ItemKind, int) override {}
    void UndoAvailabilityChanged(int, bool) override {}
};

// Every program of bank F named, and every track of every item calling one of them.
void FillFromBankF(vx::SetData& data) {
    std::mt19937 random(8);
    auto program = [&random] { return 768 + static_cast<int>(random() % 64); };
    auto name = [&random] { return std::string("Item ") + std::to_string(random() % 1000); };
    for (auto& arr : data.arr.arr) {
        arr.SetName(name());
        for (int t = 0; t < vx::ArrangementRecord::kTrackCount; ++t) arr.SetTrackProgram(t, program());
    }
    for (auto& style : data.sty.slots) {
        style.record.SetName(name());
        for (int t = 0; t < vx::StyleRecord::kTrackCount; ++t) style.record.SetTrackProgram(t, program());
    }
    for (int i = 0; i < 64; ++i) data.prg.records[static_cast<std::size_t>(i)].SetName(name());
    for (auto& bsq : data.bsq.entries) {
        bsq.record.SetName(name());
        for (int t = 0; t < vx::BsqRecord::kTrackCount; ++t) bsq.record.SetTrackProgram(t, program());
    }
    for (auto& song : data.sng.entries) {
        song.record.SetName(name());
        for (int t = 0; t < vx::SongRecord::kTrackCount; ++t) song.record.SetTrackProgram(t, program());
    }
    for (auto& kbd : data.ark.records)
        for (int t = 0; t < vx::KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, program());
}

struct Editing {
    QuietInteraction ui;
    vx::Options options;
    std::unique_ptr<vx::Session> session;
    std::unique_ptr<vx::EditScheme> scheme;
    int set = 0;

    Editing() {
        auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
        vx::PresetTables presets;
        if (!catalogue || !vx::ReadPresetNames(vx::test::ProgramDir() + "/X50PRSTS.TXT", presets)) return;
        session = std::make_unique<vx::Session>(std::move(*catalogue), std::move(presets), options, ui);
        scheme = std::make_unique<vx::EditScheme>(*session);
        set = session->OpenOrNewSet(true, "");
        FillFromBankF(session->Data(set));
    }
};

void BM_PlainCallScan(benchmark::State& state) {
    Editing editing;
    const vx::SetData& data = editing.session->Data(editing.set);
    for (auto _ : state) {
        int calls = 0;
        vx::ForEachCall(data, [&](const vx::CallSite& site) {
            calls += site.called == vx::ItemKind::Program && site.number == 768;
        });
        benchmark::DoNotOptimize(calls);
    }
}
BENCHMARK(BM_PlainCallScan);

// The one-pass redirect of the 63 moved programs alone, without keeping anything for Undo.
void BM_RedirectShiftOfFullProgramBank(benchmark::State& state) {
    Editing editing;
    vx::SetData& data = editing.session->Data(editing.set);
    vx::Redirection down(vx::ItemKind::Program, 1064), up(vx::ItemKind::Program, 1064);
    for (int n = 769; n < 832; ++n) {
        down.Add(n, n - 1);
        up.Add(n - 1, n);
    }
    // Down and back up, so that the set stays as it was; counted as two redirects.
    for (auto _ : state) {
        benchmark::DoNotOptimize(vx::Redirect(data, down));
        benchmark::DoNotOptimize(vx::Redirect(data, up));
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_RedirectShiftOfFullProgramBank);

// Every run starts from the full set again (outside the timing), so every Delete redirects the
// calls of 63 programs.
void BM_DeleteSlot0OfFullProgramBank(benchmark::State& state) {
    Editing editing;
    const vx::SetData full = editing.session->Data(editing.set);
    vx::Edit edit;
    edit.command = vx::EditCommand::Delete;
    edit.kind = vx::ItemKind::Program;
    edit.set = editing.set;
    edit.slot = 0;
    for (auto _ : state) {
        state.PauseTiming();
        editing.session->Data(editing.set) = full;
        state.ResumeTiming();
        benchmark::DoNotOptimize(editing.scheme->Apply(edit).done);
    }
}
BENCHMARK(BM_DeleteSlot0OfFullProgramBank);

}  // namespace
