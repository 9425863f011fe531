#pragma once

#include <deque>
#include <utility>
#include <vector>

#include "format/ByteRecord.h"

namespace vx {

// Rebuilds whole system exclusive messages from the pieces a driver delivers: a message may
// arrive in one piece or split anywhere. Real-time bytes inside a message are dropped; any
// other status byte ends an unfinished message, which is discarded. Everything outside a
// system exclusive message (notes, clock) is ignored.
class SysExAssembler {
public:
    void Feed(const std::uint8_t* data, std::size_t size);
    void Feed(const Bytes& piece) { Feed(piece.data(), piece.size()); }
    bool Next(Bytes& message);
    void Reset();

private:
    Bytes partial_;
    bool inside_ = false;
    std::deque<Bytes> complete_;
};

// Where a long message is cut for a backend that cannot take it whole: pieces of at most
// pieceSize bytes, in order, covering the message exactly.
std::vector<std::pair<std::size_t, std::size_t>> SplitIntoPieces(std::size_t total, std::size_t pieceSize);

}  // namespace vx
