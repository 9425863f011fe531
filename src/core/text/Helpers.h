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

// Key 0 to 127 as note and octave: 60 -> C4, 61 -> C#4, 0 -> C-1.
std::string NoteLabel(int key);

// Two upper-case hexadecimal digits and a blank per byte: "F0 42 30 ".
std::string HexDump(const std::vector<std::uint8_t>& bytes);

std::string ToUpper(std::string_view text);
std::string TrimBlanks(std::string_view text);

}  // namespace vx
