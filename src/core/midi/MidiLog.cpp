#include "core/midi/MidiLog.h"

#include <filesystem>

#include "core/catalogue/Catalogue.h"

namespace vx {

std::string MidiLog::Path() const { return (std::filesystem::path(directory_) / kFileName).string(); }

bool MidiLog::Open() {
    if (file_.is_open()) return true;
    std::error_code error;
    std::filesystem::remove(Path(), error);
    file_.open(Path(), std::ios::binary | std::ios::trunc);
    if (!file_) return false;
    Line(std::string(kProgramTitle) + " v." + VX_VERSION_FULL);
    if (!file_) {
        file_.close();
        return false;
    }
    return true;
}

void MidiLog::Line(const std::string& text) {
    if (!file_.is_open()) return;
    file_ << text << "\r\n";
    file_.flush();
}

}  // namespace vx
