// The library of sets over 1,000 sets of about 300 items each (copies of the demo set whose
// added items have names of their own), against reading the same files once, raw, in the same
// run: a first scan into a new index, a scan with nothing changed, and a search (its median over
// many). The database's bytes per set are reported beside them.
// Usage: vxbench_library [--benchmark options]; VX_LIBRARY_SETS=N sets another number of sets.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "core/format/ItemFile.h"
#include "core/kinds/EditableKind.h"
#include "core/library/Library.h"
#include "core/storage/SetData.h"
#include "core/text/Helpers.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace {

namespace fs = std::filesystem;
using vx::ItemKind;
using vx::library::Library;

// A name of five letters and digits that differs from set to set and slot to slot.
std::string Token(std::uint32_t seed) {
    seed = seed * 2654435761u + 0x9E3779B9u;
    std::string token;
    for (int i = 0; i < 5; ++i) {
        token += "abcdefghijklmnopqrstuvwxyz0123456789"[seed % 36];
        seed = seed / 36 + (seed << 13) * 7u + 11u;
    }
    return token;
}

vx::SetData Demo() {
    vx::SetData data;
    const std::string base = vx::test::SourceDir() + "/examples/DEMO.SET/DEMO";
    for (int k = 0; k < vx::kSetKindCount; ++k) {
        auto file = vx::OpenItemFile(base, vx::KindFromIndex(k));
        if (!file || !vx::LoadKind(*file, vx::KindFromIndex(k), data)) std::abort();
    }
    return data;
}

// Fills empty slots of a kind with renamed copies of its items, up to `wanted` items.
void FillWithCopies(vx::SetData& data, const vx::EditableKind& kind, int wanted, std::uint32_t seed,
                    bool (*fillable)(const std::string& label)) {
    std::vector<int> sources;
    int count = 0;
    for (int slot = 0; slot < kind.SlotCount(); ++slot) {
        if (kind.IsEmptyAt(data, slot)) continue;
        ++count;
        if (fillable(kind.Label(slot))) sources.push_back(slot);
    }
    for (int slot = 0; slot < kind.SlotCount() && count < wanted && !sources.empty(); ++slot) {
        if (!kind.IsEmptyAt(data, slot) || !fillable(kind.Label(slot))) continue;
        const int source = sources[static_cast<std::size_t>(slot) % sources.size()];
        vx::EditItem item = kind.Read(data, source);
        const std::string name = vx::TrimBlanks(kind.NameAt(data, source)).substr(0, 10) + " " +
                                 Token(seed * 1000u + static_cast<std::uint32_t>(slot));
        std::visit(
            [&](auto& value) {
                if constexpr (requires { value.SetName(name); })
                    value.SetName(name);
                else if constexpr (requires { value.record.SetName(name); })
                    value.record.SetName(name);
            },
            item);
        kind.Write(data, slot, item);
        ++count;
    }
}

struct Shelf {
    vx::test::TempDirectory temp;
    fs::path sets = temp.Path() / "sets";
    fs::path index = temp.Path() / "library.sqlite";
    int count = 0;
    std::size_t items = 0;

    Shelf() {
        const char* wanted = std::getenv("VX_LIBRARY_SETS");
        count = wanted ? std::max(1, std::atoi(wanted)) : 1000;
        const vx::SetData demo = Demo();
        for (int n = 0; n < count; ++n) {
            vx::SetData data = demo;
            const auto seed = static_cast<std::uint32_t>(n);
            FillWithCopies(data, vx::Arrangements(), 100, seed, [](const std::string&) { return true; });
            FillWithCopies(data, vx::Programs(), 133, seed + 7919u,
                           [](const std::string& label) { return label[0] == 'F' || label[0] == 'G'; });
            const std::string name = "S" + std::to_string(n);
            vx::test::WriteSet(data, (sets / ("shelf" + std::to_string(n % 20)) / (name + ".SET")).string(), name);
        }
        std::string error;
        auto library = Library::Open(temp.Path() / "count.sqlite", error);
        library->AddFolder(sets, error);
        library->Scan();
        items = library->Find({}).size();
    }
};

Shelf& TheShelf() {
    static Shelf shelf;
    return shelf;
}

std::unique_ptr<Library> OpenFresh(const fs::path& file) {
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(file.string() + suffix);
    std::string error;
    auto library = Library::Open(file, error);
    if (!library) std::abort();
    return library;
}

void BM_ReadFilesOnce(benchmark::State& state) {
    Shelf& shelf = TheShelf();
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(shelf.sets))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::vector<char> buffer(1 << 16);
    for (auto _ : state) {
        std::size_t total = 0;
        for (const fs::path& path : files) {
            std::FILE* file = std::fopen(path.c_str(), "rb");
            if (!file) continue;
            for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0;) total += got;
            std::fclose(file);
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["sets"] = shelf.count;
}

void BM_ScanNewIndex(benchmark::State& state) {
    Shelf& shelf = TheShelf();
    const fs::path file = shelf.temp.Path() / "fresh.sqlite";
    for (auto _ : state) {
        state.PauseTiming();
        auto library = OpenFresh(file);
        std::string error;
        library->AddFolder(shelf.sets, error);
        state.ResumeTiming();
        const auto summary = library->Scan();
        if (summary.read != static_cast<std::size_t>(shelf.count)) state.SkipWithError("not every set was read");
    }
    state.counters["items"] = static_cast<double>(shelf.items);
    state.counters["bytes_per_set"] = static_cast<double>(fs::file_size(file)) / shelf.count;
}

void BM_RescanUnchanged(benchmark::State& state) {
    Shelf& shelf = TheShelf();
    auto library = OpenFresh(shelf.temp.Path() / "rescan.sqlite");
    std::string error;
    library->AddFolder(shelf.sets, error);
    library->Scan();
    for (auto _ : state) {
        const auto summary = library->Scan();
        if (summary.unchanged != static_cast<std::size_t>(shelf.count)) state.SkipWithError("a set was read again");
    }
}

// A search for a name one set holds, and one for a name every set holds, warm.
void BM_FindWarm(benchmark::State& state) {
    Shelf& shelf = TheShelf();
    std::string error;
    auto library = Library::Open(shelf.temp.Path() / "count.sqlite", error);
    const std::string text = state.range(0) == 0 ? Token(500u * 1000u + 40u) : "sunday groove";
    std::vector<double> times;
    std::size_t found = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        found = library->Find({text, std::nullopt, std::nullopt, 0}).size();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["found"] = static_cast<double>(found);
}

BENCHMARK(BM_ReadFilesOnce)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ScanNewIndex)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RescanUnchanged)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FindWarm)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Keeps each benchmark's time per iteration, for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> milliseconds;
    std::map<std::string, std::map<std::string, double>> counters;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // The adjusted time is in the run's own unit; the multiplier turns seconds into that unit.
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            // "BM_FindWarm/1/min_time:1.000" is kept as "BM_FindWarm/1".
            std::string name = run.benchmark_name();
            for (const char* suffix : {"/min_time:", "/iterations:"})
                if (const auto at = name.find(suffix); at != std::string::npos) name.erase(at);
            milliseconds[name] = seconds * 1000.0;
            for (const auto& [counterName, counter] : run.counters) counters[name][counterName] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TheShelf();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& ms = reporter.milliseconds;
    const auto read = ms.find("BM_ReadFilesOnce");
    if (read == ms.end()) return 0;
    const Shelf& shelf = TheShelf();
    std::printf("\n%d sets, %zu items; reading their files once: %.1f ms\n", shelf.count, shelf.items, read->second);
    auto ratio = [&](const char* name, const char* what) {
        if (const auto it = ms.find(name); it != ms.end())
            std::printf("%-36s %9.1f ms  %7.2f x reading the files once\n", what, it->second,
                        it->second / read->second);
    };
    ratio("BM_ScanNewIndex", "scan into a new index:");
    ratio("BM_RescanUnchanged", "rescan, nothing changed:");
    for (const auto& [name, what] : {std::pair{"BM_FindWarm/0", "find, a name in one set (median):"},
                                     std::pair{"BM_FindWarm/1", "find, a name in every set (median):"}}) {
        const auto it = reporter.counters.find(name);
        if (it == reporter.counters.end()) continue;
        const double median = it->second.at("median_ms");
        std::printf("%-36s %9.3f ms  %7.4f x reading the files once, %.0f found\n", what, median, median / read->second,
                    it->second.at("found"));
    }
    if (const auto it = reporter.counters.find("BM_ScanNewIndex"); it != reporter.counters.end())
        std::printf("%-36s %9.0f bytes per set, %.0f per item\n", "index file:", it->second.at("bytes_per_set"),
                    it->second.at("bytes_per_set") * shelf.count / static_cast<double>(shelf.items));
    return 0;
}
