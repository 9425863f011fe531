#pragma once

#include <string>
#include <string_view>

namespace vx {

// A name holds the characters the instrument shows: blank to "~" (bytes 32 to 126).
bool IsNameCharacter(char c);

// Empty when every character of a typed name may be kept; otherwise why not, naming the first
// character that may not: "A name can't hold a line break (only the characters blank to ~)".
// Text above byte 127 is named as typed when it is UTF-8, by its byte value otherwise.
std::string NameCharacterProblem(std::string_view typed);

// The name with each control character (bytes 0 to 31 and 127) replaced by a blank: what a
// text file may hold on one line, whatever a set file held.
std::string ControlCharactersBlanked(std::string_view name);

}  // namespace vx
