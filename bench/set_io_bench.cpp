// Loading and saving a full set against reading and writing the same bytes raw, in one run.
// The loaded set fills every slot, styles reach the largest size and the sequences and songs
// carry events. The raw save writes each file to a temporary name, flushes it to the disk and
// renames it, as the program's save does, so both sides pay for the same durability.
// Large buffers are usually reused by the allocator between iterations; running with
// MALLOC_MMAP_THRESHOLD_=131072 makes every large buffer come fresh from the system, as it
// does when a person opens a set, which shows the cost of first touching the memory.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "catalogue/Catalogue.h"
#include "format/ItemFile.h"
#include "format/ItemFileSave.h"
#include "storage/SetData.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace {

namespace fs = std::filesystem;
using vx::Bytes;
using vx::ItemKind;

struct FullSet {
    vx::test::TempDirectory temp;
    std::string directory;
    vx::SetData data;

    FullSet() {
        vx::test::RandomSetOptions options;
        options.emptyPercent = 0;
        options.styleUsedPercent = 100;
        options.maxStyleSize = 65535;
        options.maxSectionUnits = 40;
        options.maxPatternUnits = 20;
        data = vx::test::RandomSet(2024, options);
        directory = temp.Str() + "/FULL.SET";
        vx::test::WriteSet(data, directory, "FULL");
    }
    std::string File(ItemKind kind) const { return directory + "/FULL" + std::string(vx::KindExtension(kind)); }
};

FullSet& Set() {
    static FullSet set;
    return set;
}

Bytes ReadRaw(const std::string& path) {
    Bytes bytes(fs::file_size(path));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    return bytes;
}

void WriteRawAndRename(const std::string& path, const Bytes& bytes) {
    const std::string temporary = path + ".raw.tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    ::fsync(fd);
    ::close(fd);
    if (written) std::rename(temporary.c_str(), path.c_str());
}

void BM_LoadSet(benchmark::State& state) {
    FullSet& set = Set();
    vx::test::ScriptedInteraction ui;
    for (auto _ : state) {
        vx::SetData data;
        for (int k = 0; k < vx::kSetKindCount; ++k) {
            auto file = vx::OpenItemFile(set.directory + "/FULL", vx::KindFromIndex(k), ui);
            if (!file || !vx::LoadKind(*file, vx::KindFromIndex(k), data)) state.SkipWithError("load failed");
        }
        benchmark::DoNotOptimize(data);
    }
}
BENCHMARK(BM_LoadSet)->Unit(benchmark::kMicrosecond);

void BM_ReadSetRaw(benchmark::State& state) {
    FullSet& set = Set();
    for (auto _ : state) {
        for (int k = 0; k < vx::kSetKindCount; ++k) {
            Bytes bytes = ReadRaw(set.File(vx::KindFromIndex(k)));
            benchmark::DoNotOptimize(bytes);
        }
    }
}
BENCHMARK(BM_ReadSetRaw)->Unit(benchmark::kMicrosecond);

void BM_SaveSet(benchmark::State& state) {
    FullSet& set = Set();
    vx::test::ScriptedInteraction ui;
    for (auto _ : state) {
        for (ItemKind kind : vx::kSaveOrder)
            if (!vx::SaveItemFile(set.directory, "FULL", kind, vx::SerializeKind(set.data, kind), ui))
                state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveSet)->Unit(benchmark::kMicrosecond);

void BM_WriteSetRawAndRename(benchmark::State& state) {
    FullSet& set = Set();
    std::vector<Bytes> images;
    for (ItemKind kind : vx::kSaveOrder) images.push_back(vx::SerializeKind(set.data, kind));
    for (auto _ : state) {
        for (std::size_t i = 0; i < images.size(); ++i) WriteRawAndRename(set.File(vx::kSaveOrder[i]), images[i]);
    }
}
BENCHMARK(BM_WriteSetRawAndRename)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
