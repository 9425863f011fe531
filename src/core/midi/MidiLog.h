#pragma once

#include <fstream>
#include <string>

namespace vx {

// VXEDITR.LOG: free text lines written when a MIDI exchange fails. Opened on first use, which
// replaces the log of an earlier run, and kept open until the program ends.
class MidiLog {
public:
    static constexpr const char* kFileName = "VXEDITR.LOG";

    explicit MidiLog(std::string directory) : directory_(std::move(directory)) {}
    // True when the log is open (opening it now if needed); the first line names the program.
    bool Open();
    // One line ended by CRLF, flushed at once so that it survives a crash.
    void Line(const std::string& text);
    std::string Path() const;

private:
    std::string directory_;
    std::ofstream file_;
};

}  // namespace vx
