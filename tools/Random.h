#pragma once

#include <cstddef>
#include <cstdint>

#include "core/format/ByteRecord.h"

namespace vxmk {

// A small seeded generator: the shipped files must come out the same on every build and
// platform, which the standard distributions do not promise.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(Mix(seed)) {}

    std::uint32_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<std::uint32_t>((state_ * 0x2545F4914F6CDD1DULL) >> 32);
    }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Next() >> 24); }
    // A number from low to high, both included.
    int Range(int low, int high) {
        const auto span = static_cast<std::uint32_t>(high - low + 1);
        return low + static_cast<int>(Next() % span);
    }
    vx::Bytes Fill(std::size_t count) {
        vx::Bytes out(count);
        for (auto& b : out) b = Byte();
        return out;
    }

private:
    // splitmix64 finaliser: spreads small seeds and never leaves the state at zero.
    static std::uint64_t Mix(std::uint64_t x) {
        x += 0x9E3779B97F4A7C15ULL;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
        x ^= x >> 31;
        return x == 0 ? 1 : x;
    }
    std::uint64_t state_;
};

}  // namespace vxmk
