// Replays a fuzz target over its corpus (the first argument: what fuzzing runs kept, each input
// as it is) and over seed files with deterministic mutations of each (truncations, flipped
// bytes, overwritten length fields), so that the loaders' refusal of bad files is exercised
// on every test run without a fuzzing engine. With --fewer-mutations first (the sanitizer build,
// where every run costs many times more) the large values go over every other 16-bit field of
// the first 512 bytes only, and over one field in 32 behind them.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Replay {
    std::size_t files = 0;
    std::size_t inputs = 0;
    bool fewerMutations = false;

    void Run(const std::vector<std::uint8_t>& bytes) {
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++inputs;
    }
};

void ReplayWithMutations(const std::vector<std::uint8_t>& seed, std::mt19937& random, Replay& replay) {
    replay.Run(seed);
    for (std::size_t cut : {std::size_t{0}, std::size_t{7}, std::size_t{8}, seed.size() / 2, seed.size() - 1}) {
        if (cut <= seed.size())
            replay.Run(std::vector<std::uint8_t>(seed.begin(), seed.begin() + static_cast<long>(cut)));
    }
    if (seed.empty()) return;
    std::uniform_int_distribution<std::size_t> position(0, seed.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    for (int round = 0; round < 48; ++round) {
        auto mutated = seed;
        int flips = 1 + round % 4;
        for (int i = 0; i < flips; ++i) mutated[position(random)] = static_cast<std::uint8_t>(value(random));
        replay.Run(mutated);
    }
    // Large values written over the header and the tables behind it, where lengths and offsets live.
    for (std::size_t offset = 8; offset + 1 < seed.size() && offset < 4096;
         offset += replay.fewerMutations && offset >= 512 ? 32 : 2) {
        auto mutated = seed;
        mutated[offset] = 0xFF;
        mutated[offset + 1] = 0x7F;
        replay.Run(mutated);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::mt19937 random(12345);
    Replay replay;
    int first = 1;
    if (argc > 1 && std::string_view(argv[1]) == "--fewer-mutations") {
        replay.fewerMutations = true;
        ++first;
    }
    for (int i = first; i < argc; ++i) {
        const bool mutate = i > first;
        auto replayFile = [&](const std::filesystem::path& file) {
            const auto bytes = ReadAll(file);
            if (mutate) {
                ReplayWithMutations(bytes, random, replay);
            } else {
                replay.Run(bytes);
            }
            ++replay.files;
        };
        std::filesystem::path path(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error))
                if (entry.is_regular_file()) replayFile(entry.path());
        } else if (std::filesystem::is_regular_file(path, error)) {
            replayFile(path);
        }
    }
    std::cout << "replayed " << replay.files << " files as " << replay.inputs << " inputs\n";
    return replay.files > 0 ? 0 : 1;
}
