#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/catalogue/ItemKind.h"
#include "core/format/ByteRecord.h"

namespace vx {

struct SetData;

inline constexpr std::uint8_t kMakerId = 0x42;
inline constexpr std::uint8_t kFamilyId = 0x49;
inline constexpr std::uint8_t kDumpMode = 4;

// The six bytes every request starts with; unchanged, they are also the acknowledgement the
// instrument sends after a dump. Byte 2 carries the device ID, byte 3 the family code.
struct SysExHeader {
    std::array<std::uint8_t, 6> bytes{0xF0, kMakerId, 0x30, kFamilyId, 0x23, 0xF7};

    Bytes Whole() const { return Bytes(bytes.begin(), bytes.end()); }
    // The first four bytes followed by the given ones.
    Bytes With(std::initializer_list<std::uint8_t> rest) const;
};

// Universal identity request, to every device.
Bytes IdentityRequest();
Bytes ModeRequest(const SysExHeader& header);
Bytes ModeChange(const SysExHeader& header, std::uint8_t mode);

// 7 bytes to 8: a byte holding the seven high bits, then the seven bytes with bit 7 cleared;
// a last group of r bytes becomes r + 1.
Bytes PackSevenBit(const Bytes& body);
void AppendPacked(Bytes& out, const Bytes& body);
// The reverse; false when a byte has bit 7 set, a group is a lone byte, or a group's first byte
// holds bits for bytes the group does not have.
bool UnpackSevenBit(const std::uint8_t* data, std::size_t size, Bytes& body);
std::size_t PackedSize(std::size_t bodySize);

// The style block that holds a user style slot (0 to 47).
int StyleBlockOf(int styleSlot);

// What goes out for one kind: the extra bytes after the function code and the body.
struct DumpContent {
    Bytes extra;
    Bytes body;
};
// False with the reason when the kind cannot be sent as the set holds it.
bool BuildDumpContent(const SetData& data, ItemKind kind, int styleSlot, DumpContent& out, std::string& error);

// The complete message: header bytes 0-3, function code, extra bytes, packed body, 0xF7.
bool BuildDumpMessage(const SetData& data, ItemKind kind, int styleSlot, const SysExHeader& header, Bytes& message,
                      std::string& error);

}  // namespace vx
