#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

using Bytes = std::vector<std::uint8_t>;

// A fixed-size record kept as the bytes of the file. Accessors read and write the fields
// the editor interprets; every other byte is carried as it is, so nothing can be lost.
template <std::size_t N>
struct ByteRecord {
    static constexpr std::size_t kSize = N;
    std::array<std::uint8_t, N> bytes{};

    std::uint8_t Byte(std::size_t offset) const { return bytes[offset]; }
    void SetByte(std::size_t offset, std::uint8_t value) { bytes[offset] = value; }

    // 16-bit little-endian value.
    std::uint16_t Word(std::size_t offset) const {
        return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    }
    void SetWord(std::size_t offset, std::uint16_t value) {
        bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }

    // A program call kept inside a parameter block: bit 7 of the high byte is ignored on
    // reading; writing stores the low byte and the number divided by 256.
    int CallPair(std::size_t offset) const { return bytes[offset] | ((bytes[offset + 1] & 0x7F) << 8); }
    // A track's program call: the flag in bit 7 of the high byte is not part of the number and stays.
    void SetCallPair(std::size_t offset, int number) {
        bytes[offset] = static_cast<std::uint8_t>(number & 0xFF);
        bytes[offset + 1] = static_cast<std::uint8_t>((bytes[offset + 1] & 0x80) | ((number >> 8) & 0x7F));
    }

    // Fixed-length single-byte text.
    std::string Text(std::size_t offset, std::size_t length) const {
        return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                           bytes.begin() + static_cast<std::ptrdiff_t>(offset + length));
    }
    // Cut or padded with blanks to the field's length.
    void SetText(std::size_t offset, std::size_t length, std::string_view text) {
        for (std::size_t i = 0; i < length; ++i)
            bytes[offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : std::uint8_t{' '};
    }
    bool TextIsBlank(std::size_t offset, std::size_t length) const {
        return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                           bytes.begin() + static_cast<std::ptrdiff_t>(offset + length),
                           [](std::uint8_t b) { return b == ' '; });
    }

    void CopyFrom(const std::uint8_t* source) { std::copy(source, source + N, bytes.begin()); }
    void AppendTo(Bytes& out) const { out.insert(out.end(), bytes.begin(), bytes.end()); }

    friend bool operator==(const ByteRecord&, const ByteRecord&) = default;
};

inline constexpr std::size_t kNameLength = 16;
inline const std::string kBlankName(kNameLength, ' ');

// Little-endian helpers for whole-file images.
inline void AppendWord(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
inline void AppendBytes(Bytes& out, const std::uint8_t* data, std::size_t count) {
    out.insert(out.end(), data, data + count);
}
inline void AppendBytes(Bytes& out, const Bytes& data) { out.insert(out.end(), data.begin(), data.end()); }

}  // namespace vx
