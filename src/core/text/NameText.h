#pragma once

#include <string>
#include <string_view>

namespace vx {

// Names and every other text of a set are single bytes, read as ISO 8859-1 (Latin-1) by the
// editor, the reports and the command-line tool alike: byte 0xE9 is 'é' wherever it is shown.
// Files the program writes (sets, reports, dumps) keep the bytes; text for a terminal or for
// JSON is converted with this, each byte becoming its own code point in UTF-8.
std::string NameTextToUtf8(std::string_view text);

}  // namespace vx
