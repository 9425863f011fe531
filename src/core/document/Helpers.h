#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// The set name of a path: ".SET" dropped (any case), then what follows the last separator
// (either "\" or "/"), then a drive prefix "X:" dropped. C:\SETS\LIVE.SET -> LIVE.
std::string SetNameFromPath(std::string_view path);
// Everything before the last separator ("\" or "/"). C:\SETS\LIVE.SET\LIVE -> C:\SETS\LIVE.SET.
std::string ParentDirOf(std::string_view path);

// Bank letter of a banked kind (0 arrangement, 1 style, 2 program) and two digits:
// (index div 8) + 1 and (index mod 8) + 1. Index 0 -> A11, 63 -> A88.
std::string ItemLabel(int kind, int bank, int index);
// Key 0 to 127 as note and octave: 60 -> C4, 61 -> C#4, 0 -> C-1.
std::string NoteLabel(int key);

int GetBits(std::uint8_t value, int start, int count);
std::uint8_t SetBits(std::uint8_t value, int start, int count, int bits);
// 16-bit little-endian value at a zero-based offset, bit 7 of the high byte ignored (0 to 32767).
int GetWord(const std::vector<std::uint8_t>& buffer, std::size_t offset);
void PutWord(std::vector<std::uint8_t>& buffer, std::size_t offset, int value);
// True when a and b agree at every index from 1 to the last index of b (index 0 not compared).
bool BytesEqual(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b);
// Two upper-case hexadecimal digits and a blank per byte: "F0 42 30 ".
std::string HexDump(const std::vector<std::uint8_t>& bytes);

std::string ToUpper(std::string_view text);
std::string TrimBlanks(std::string_view text);
// Case-insensitive "starts with", for names such as NEWSET01.
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace vx
