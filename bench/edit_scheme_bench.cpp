// Delete of slot 0 of a full program bank: 63 programs move up and every call to them, over all
// five calling kinds, follows in one pass. Measured beside one plain scan of all the set's calls
// (the baseline); the delete also moves the records and keeps what Undo needs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <random>

#include "QuietInteraction.h"

#include "core/catalogue/PresetNames.h"
#include "core/editing/EditScheme.h"
#include "core/storage/Session.h"
#include "core/storage/TemplateSet.h"
#include "support/TestPaths.h"

namespace {

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
    vx::bench::QuietInteraction ui;
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

    vx::Edit DeleteOfF11() const {
        vx::Edit edit;
        edit.command = vx::EditCommand::Delete;
        edit.kind = vx::ItemKind::Program;
        edit.set = set;
        edit.slot = 0;
        return edit;
    }
};

// The baseline: one plain scan of all the set's calls, written out over the records' own
// accessors, so that it owes nothing to the walk the edit commands use.
template <typename Record>
int CountTracksCalling(const Record& record, int number) {
    int calls = 0;
    for (int t = 0; t < Record::kTrackCount; ++t) calls += record.TrackProgram(t) == number;
    return calls;
}

int CountCallsOfF11(const vx::SetData& data) {
    int calls = 0;
    for (const auto& arr : data.arr.arr)
        if (!arr.IsEmpty()) calls += (arr.Style() == 768) + CountTracksCalling(arr, 768);
    for (const auto& style : data.sty.slots)
        if (!style.IsEmpty()) calls += CountTracksCalling(style.record, 768);
    for (const auto& bsq : data.bsq.entries)
        if (!bsq.IsEmpty())
            calls +=
                (bsq.record.Arrangement() == 768) + (bsq.record.Style() == 768) + CountTracksCalling(bsq.record, 768);
    for (const auto& song : data.sng.entries)
        if (!song.IsEmpty()) calls += CountTracksCalling(song.record, 768);
    for (const auto& kbd : data.ark.records) calls += CountTracksCalling(kbd, 768);
    return calls;
}

// The same scan through the walk the edit commands use.
int WalkCallsOfF11(const vx::SetData& data) {
    int calls = 0;
    vx::ForEachCall(data, [&](const vx::CallSite& site) { calls += site.number == 768; });
    return calls;
}

// Runs work with the clock read around it alone; what work returned.
template <typename Work>
auto TimeAlone(benchmark::State& state, Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    const auto result = work();
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    return result;
}

void BM_PlainCallScan(benchmark::State& state) {
    Editing editing;
    const vx::SetData& data = editing.session->Data(editing.set);
    for (auto _ : state) benchmark::DoNotOptimize(CountCallsOfF11(data));
}
BENCHMARK(BM_PlainCallScan);

void BM_WalkOfAllCalls(benchmark::State& state) {
    Editing editing;
    const vx::SetData& data = editing.session->Data(editing.set);
    for (auto _ : state) benchmark::DoNotOptimize(WalkCallsOfF11(data));
}
BENCHMARK(BM_WalkOfAllCalls);

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
// calls of 63 programs. The clock is read around the command alone: pausing the benchmark's own
// timer costs more than the scan the Delete is compared with.
void BM_DeleteSlot0OfFullProgramBank(benchmark::State& state) {
    Editing editing;
    const vx::SetData full = editing.session->Data(editing.set);
    const vx::Edit edit = editing.DeleteOfF11();
    for (auto _ : state) {
        editing.session->Data(editing.set) = full;
        if (!TimeAlone(state, [&] { return editing.scheme->Apply(edit).done; }))
            state.SkipWithError("the Delete was refused");
    }
}
BENCHMARK(BM_DeleteSlot0OfFullProgramBank)->UseManualTime();

// The same Delete with something held from the set for every other kind: the copied items of
// the clipboards and an Undo record of a paste over an arrangement, whose calls follow the
// moved programs too.
void BM_DeleteSlot0OfFullProgramBankWithHeldRecords(benchmark::State& state) {
    Editing editing;
    const vx::SetData full = editing.session->Data(editing.set);
    const vx::Edit edit = editing.DeleteOfF11();
    auto command = [&](vx::EditCommand what, vx::ItemKind kind, int slot) {
        vx::Edit held;
        held.command = what;
        held.kind = kind;
        held.set = editing.set;
        held.slot = slot;
        return editing.scheme->Apply(held).done;
    };
    for (auto _ : state) {
        editing.session->Data(editing.set) = full;
        bool ready = true;
        for (vx::ItemKind kind : {vx::ItemKind::Style, vx::ItemKind::BackingSequence, vx::ItemKind::Song,
                                  vx::ItemKind::KbdSet, vx::ItemKind::Arrangement})
            ready = command(vx::EditCommand::Copy, kind, 1) && ready;
        ready = command(vx::EditCommand::Paste, vx::ItemKind::Arrangement, 2) && ready;
        if (!ready || !TimeAlone(state, [&] { return editing.scheme->Apply(edit).done; }))
            state.SkipWithError("the Delete was refused");
    }
}
BENCHMARK(BM_DeleteSlot0OfFullProgramBankWithHeldRecords)->UseManualTime();

// The same clock around one plain scan, so that both sides pay the same for reading it.
void BM_PlainCallScanTimedAlike(benchmark::State& state) {
    Editing editing;
    const vx::SetData& data = editing.session->Data(editing.set);
    for (auto _ : state) {
        benchmark::DoNotOptimize(TimeAlone(state, [&] { return CountCallsOfF11(data); }));
    }
}
BENCHMARK(BM_PlainCallScanTimedAlike)->UseManualTime();

// Undo of that Delete: every record and every redirected call put back.
void BM_UndoDeleteSlot0OfFullProgramBank(benchmark::State& state) {
    Editing editing;
    const vx::SetData full = editing.session->Data(editing.set);
    const vx::Edit edit = editing.DeleteOfF11();
    vx::Edit undo = edit;
    undo.command = vx::EditCommand::Undo;
    for (auto _ : state) {
        editing.session->Data(editing.set) = full;
        editing.scheme->Apply(edit);
        if (!TimeAlone(state, [&] { return editing.scheme->Apply(undo).done; })) state.SkipWithError("nothing to undo");
    }
}
BENCHMARK(BM_UndoDeleteSlot0OfFullProgramBank)->UseManualTime();

}  // namespace
