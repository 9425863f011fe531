#include "core/midi/SysExAssembler.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/midi/MidiBackend.h"

namespace vx {

namespace {
constexpr std::uint8_t kSysExStart = 0xF0;
constexpr std::uint8_t kSysExEnd = 0xF7;
constexpr std::uint8_t kFirstRealTime = 0xF8;

class SteadyClock : public MidiClock {
public:
    std::chrono::steady_clock::time_point Now() override { return std::chrono::steady_clock::now(); }
    void Sleep(std::chrono::microseconds duration) override { std::this_thread::sleep_for(duration); }
};
}  // namespace

MidiClock& SystemMidiClock() {
    static SteadyClock clock;
    return clock;
}

void SysExAssembler::Feed(const std::uint8_t* data, std::size_t size, TimePoint arrived) {
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = data[i];
        if (b >= kFirstRealTime) continue;
        if (b == kSysExStart) {
            partial_.assign(1, b);
            partialStarted_ = arrived;
            inside_ = true;
        } else if (!inside_) {
            continue;
        } else if (b == kSysExEnd) {
            partial_.push_back(b);
            complete_.emplace_back(std::move(partial_), partialStarted_);
            partial_.clear();
            inside_ = false;
        } else if (b & 0x80) {
            partial_.clear();
            inside_ = false;
        } else {
            partial_.push_back(b);
        }
    }
}

bool SysExAssembler::Next(Bytes& message, TimePoint* started) {
    if (complete_.empty()) return false;
    message = std::move(complete_.front().first);
    if (started) *started = complete_.front().second;
    complete_.pop_front();
    return true;
}

void SysExAssembler::Reset() {
    partial_.clear();
    inside_ = false;
    complete_.clear();
}

std::vector<std::pair<std::size_t, std::size_t>> SplitIntoPieces(std::size_t total, std::size_t pieceSize) {
    std::vector<std::pair<std::size_t, std::size_t>> pieces;
    if (pieceSize == 0) pieceSize = total;
    for (std::size_t at = 0; at < total; at += pieceSize) pieces.emplace_back(at, std::min(pieceSize, total - at));
    return pieces;
}

}  // namespace vx
