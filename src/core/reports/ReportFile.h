#pragma once

#include <string>

namespace vx {

class Interaction;

// "Overwrite existing file?" (Yes and No, question icon, No the default) when path exists;
// true when the file may be written.
bool MayOverwrite(Interaction& ui, const std::string& path);

// Writes a text file the user chose: the text replaces the file through a temporary one, so a
// failure leaves the old file as it was, and a read-only file is refused. A failure shows
// errorPrefix + the file name, the reason on a second line. Shows the busy pointer meanwhile.
bool WriteReportFile(Interaction& ui, const std::string& path, const std::string& text, const std::string& errorPrefix);

}  // namespace vx
