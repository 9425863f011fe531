// Pasting the largest style into a full block: the budget check, the referenced-by scan, the
// undo record, the write and the duplicate-name check that follows a Paste, measured beside one
// copy of the style's bytes (the baseline). The style file's directory is laid out when the set
// is saved, so a paste has no offsets to rebuild.
#include <benchmark/benchmark.h>

#include <memory>

#include "QuietInteraction.h"

#include "core/catalogue/PresetNames.h"
#include "core/editing/EditScheme.h"
#include "core/editing/XStyleFiles.h"
#include "core/storage/Session.h"
#include "core/storage/TemplateSet.h"
#include "support/TestPaths.h"

namespace {

// The largest style an .XSF can hold: 60800 bytes of events after its record.
vx::StyleSlot LargestStyle() {
    vx::StyleSlot style;
    style.used = 1;
    style.size = static_cast<std::uint16_t>(vx::kMaxStyleEventBytes + vx::StyleRecord::kSize);
    style.record.SetName("Largest");
    style.events.assign(static_cast<std::size_t>(vx::kMaxStyleEventBytes), 0x5A);
    return style;
}

struct PasteSession {
    vx::bench::QuietInteraction ui;
    vx::Options options;
    std::unique_ptr<vx::Session> session;
    std::unique_ptr<vx::EditScheme> scheme;

    PasteSession() {
        auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
        vx::PresetTables presets;
        vx::ReadPresetNames(vx::test::ProgramDir() + "/X50PRSTS.TXT", presets);
        session = std::make_unique<vx::Session>(std::move(*catalogue), std::move(presets), options, ui);
        scheme = std::make_unique<vx::EditScheme>(*session);
        for (int i = 0; i < 2; ++i) session->OpenOrNewSet(true, "");
        // The destination block is full: its one style takes every event the block has.
        session->Data(1).sty.slots[0] = LargestStyle();
        session->Data(2).sty.slots[0] = LargestStyle();
        vx::Edit copy;
        copy.command = vx::EditCommand::Copy;
        copy.kind = vx::ItemKind::Style;
        copy.set = 2;
        copy.slot = 0;
        scheme->Apply(copy);
    }
};

void BM_PasteLargestStyle(benchmark::State& state) {
    PasteSession paste;
    vx::Edit edit;
    edit.command = vx::EditCommand::Paste;
    edit.kind = vx::ItemKind::Style;
    edit.set = 1;
    edit.slot = 0;
    for (auto _ : state) {
        const vx::EditResult result = paste.scheme->Apply(edit);
        if (!result.done) state.SkipWithError(result.reason.c_str());
        benchmark::DoNotOptimize(paste.session->Data(1).sty.slots[0].events.data());
    }
}
BENCHMARK(BM_PasteLargestStyle);

void BM_CopyStyleBytes(benchmark::State& state) {
    const vx::StyleSlot source = LargestStyle();
    for (auto _ : state) {
        vx::StyleSlot copy = source;
        benchmark::DoNotOptimize(copy.events.data());
    }
}
BENCHMARK(BM_CopyStyleBytes);

}  // namespace
