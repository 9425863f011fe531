#pragma once

#include <chrono>
#include <deque>
#include <utility>
#include <vector>

#include "core/format/ByteRecord.h"

namespace vx {

// Rebuilds whole system exclusive messages from the pieces a driver delivers: a message may
// arrive in one piece or split anywhere. Real-time bytes inside a message are dropped; any
// other status byte ends an unfinished message, which is discarded. Everything outside a
// system exclusive message (notes, clock) is ignored.
// Each message keeps the time given with the piece that held its first byte.
class SysExAssembler {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    void Feed(const std::uint8_t* data, std::size_t size, TimePoint arrived = {});
    void Feed(const Bytes& piece, TimePoint arrived = {}) { Feed(piece.data(), piece.size(), arrived); }
    bool Next(Bytes& message, TimePoint* started = nullptr);
    void Reset();

private:
    Bytes partial_;
    TimePoint partialStarted_{};
    bool inside_ = false;
    std::deque<std::pair<Bytes, TimePoint>> complete_;
};

// Where a long message is cut for a backend that cannot take it whole: pieces of at most
// pieceSize bytes, in order, covering the message exactly.
std::vector<std::pair<std::size_t, std::size_t>> SplitIntoPieces(std::size_t total, std::size_t pieceSize);

}  // namespace vx
