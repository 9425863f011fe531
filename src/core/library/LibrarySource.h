#pragma once

#include <string>

#include "core/storage/SetData.h"

namespace vx {
class Session;
}  // namespace vx

namespace vx::library {

// Reads the eight files of the set in directory into data, as opening it would, but takes no
// lock and writes nothing (no journal is finished, no missing file made). False with the
// loader's reason in error when a file is missing or bad; data is then unchanged.
bool ReadSetData(const std::string& directory, SetData& data, std::string& error);

// The number of the open set whose directory is this one (found whatever its case), or 0.
int OpenSetOf(const Session& session, const std::string& directory);

// A set of the library as the source of a drop into an open set. When the set is open in the
// session, that set itself; otherwise a copy read from disk into a slot of the session's table
// that no window shows, never locked and never written, released again when this goes (with
// whatever the edit scheme holds from it). Does not publish the set as opened or closed to
// windows, and leaves the last-set setting as it was.
class SourceSet {
public:
    SourceSet(Session& session, const std::string& directory);
    ~SourceSet();
    SourceSet(const SourceSet&) = delete;
    SourceSet& operator=(const SourceSet&) = delete;

    // The set number to drop from, 0 when the set could not be read (Error says why).
    int Set() const { return set_; }
    bool ReadFromDisk() const { return copy_; }
    const std::string& Error() const { return error_; }

private:
    Session& session_;
    int set_ = 0;
    bool copy_ = false;
    std::string error_;
};

}  // namespace vx::library
