// Replays a fuzz target over its corpus (the first argument: what fuzzing runs kept, each input
// as it is) and over seed files with deterministic mutations of each (truncations, flipped
// bytes, overwritten length fields), so that the loaders' refusal of bad files is exercised
// on every test run without a fuzzing engine.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Run(const std::vector<std::uint8_t>& bytes) { LLVMFuzzerTestOneInput(bytes.data(), bytes.size()); }

void ReplayWithMutations(const std::vector<std::uint8_t>& seed, std::mt19937& random) {
    Run(seed);
    for (std::size_t cut : {std::size_t{0}, std::size_t{7}, std::size_t{8}, seed.size() / 2, seed.size() - 1}) {
        if (cut <= seed.size()) Run(std::vector<std::uint8_t>(seed.begin(), seed.begin() + static_cast<long>(cut)));
    }
    if (seed.empty()) return;
    std::uniform_int_distribution<std::size_t> position(0, seed.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    for (int round = 0; round < 48; ++round) {
        auto mutated = seed;
        int flips = 1 + round % 4;
        for (int i = 0; i < flips; ++i) mutated[position(random)] = static_cast<std::uint8_t>(value(random));
        Run(mutated);
    }
    // Large values written over the header and the tables behind it, where lengths and offsets live.
    for (std::size_t offset = 8; offset + 1 < seed.size() && offset < 4096; offset += 2) {
        auto mutated = seed;
        mutated[offset] = 0xFF;
        mutated[offset + 1] = 0x7F;
        Run(mutated);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::mt19937 random(12345);
    std::size_t seeds = 0;
    for (int i = 1; i < argc; ++i) {
        const bool mutate = i > 1;
        auto replay = [&](const std::filesystem::path& file) {
            const auto bytes = ReadAll(file);
            if (mutate)
                ReplayWithMutations(bytes, random);
            else
                Run(bytes);
            ++seeds;
        };
        std::filesystem::path path(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error))
                if (entry.is_regular_file()) replay(entry.path());
        } else if (std::filesystem::is_regular_file(path, error)) {
            replay(path);
        }
    }
    std::cout << "replayed " << seeds << " files, the seeds with their mutations\n";
    return seeds > 0 ? 0 : 1;
}
