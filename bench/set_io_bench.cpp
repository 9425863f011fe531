// Loading and saving a full set against reading and writing the same bytes raw, in one run.
// The loaded set fills every slot, styles reach the largest size and the sequences and songs
// carry events. The raw save writes each file to a temporary name, flushes it to the disk and
// renames it, as the program's save does, so both sides pay for the same durability.
// Large buffers are usually reused by the allocator between iterations, which hides the cost of
// first touching fresh memory that a person pays on every open. The "Fresh" pair therefore runs
// each iteration in a child process forked before anything was loaded, with the allocator's
// default settings, and times only the load or the read inside it.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/catalogue/Catalogue.h"
#include "core/format/ItemFile.h"
#include "core/format/ItemFileSave.h"
#include "core/storage/SetData.h"
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

void LoadOnce(const FullSet& set, bool& ok) {
    vx::SetData data;
    for (int k = 0; k < vx::kSetKindCount; ++k) {
        auto file = vx::OpenItemFile(set.directory + "/FULL", vx::KindFromIndex(k));
        ok = ok && file && vx::LoadKind(*file, vx::KindFromIndex(k), data);
    }
    benchmark::DoNotOptimize(data);
}

void ReadRawOnce(const FullSet& set) {
    for (int k = 0; k < vx::kSetKindCount; ++k) {
        Bytes bytes = ReadRaw(set.File(vx::KindFromIndex(k)));
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_LoadSet(benchmark::State& state) {
    FullSet& set = Set();
    for (auto _ : state) {
        bool ok = true;
        LoadOnce(set, ok);
        if (!ok) state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadSet)->Unit(benchmark::kMicrosecond);

void BM_ReadSetRaw(benchmark::State& state) {
    FullSet& set = Set();
    for (auto _ : state) ReadRawOnce(set);
}
BENCHMARK(BM_ReadSetRaw)->Unit(benchmark::kMicrosecond);

// Times work in a child process that meets the allocator as a freshly started program does.
template <typename Work>
void RunFresh(benchmark::State& state, Work work) {
    for (auto _ : state) {
        int channel[2];
        if (::pipe(channel) != 0) state.SkipWithError("pipe failed");
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            const auto begin = std::chrono::steady_clock::now();
            const bool ok = work();
            double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            if (!ok) seconds = -1;
            if (::write(channel[1], &seconds, sizeof seconds) != sizeof seconds) ::_exit(1);
            ::_exit(0);
        }
        ::close(channel[1]);
        double seconds = -1;
        const bool got = ::read(channel[0], &seconds, sizeof seconds) == sizeof seconds;
        ::close(channel[0]);
        ::waitpid(child, nullptr, 0);
        if (!got || seconds < 0) state.SkipWithError("fresh run failed");
        state.SetIterationTime(std::max(seconds, 0.0));
    }
}

void BM_LoadSetFresh(benchmark::State& state) {
    const FullSet& set = Set();
    RunFresh(state, [&] {
        bool ok = true;
        LoadOnce(set, ok);
        return ok;
    });
}
BENCHMARK(BM_LoadSetFresh)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ReadSetRawFresh(benchmark::State& state) {
    const FullSet& set = Set();
    RunFresh(state, [&] {
        ReadRawOnce(set);
        return true;
    });
}
BENCHMARK(BM_ReadSetRawFresh)->UseManualTime()->Unit(benchmark::kMicrosecond);

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
