#pragma once

#include <memory>
#include <string>

namespace vx {

// An advisory lock on one set directory, held for as long as the object lives. Every program
// that reads, changes and saves a set takes it, so that two of them never interleave. The lock
// dies with the process that holds it, so a killed program never leaves a set blocked.
class SetLock {
public:
    // What taking the lock came to.
    enum class Outcome {
        Locked,      // the lock is ours
        Held,        // another program holds it; holder names it
        Unlockable,  // the lock file cannot be made (a read-only disk): nothing of ours can save there
    };
    struct Result {
        Outcome outcome = Outcome::Unlockable;
        std::unique_ptr<SetLock> lock;  // set when Locked
        std::string holder;             // "vx50 (process 1234 on host)", or "another program"
    };

    // Locks the set NAME in directory through the hidden file ".NAME.lock" inside it, trying
    // again for up to waitSeconds while another program holds it.
    static Result Acquire(const std::string& directory, const std::string& name, double waitSeconds);
    // The file Acquire uses.
    static std::string LockFileName(const std::string& name);

    // Releases the lock and removes the lock file.
    ~SetLock();
    SetLock(const SetLock&) = delete;
    SetLock& operator=(const SetLock&) = delete;

    const std::string& Path() const { return path_; }

private:
    SetLock(std::string path, int handle) : path_(std::move(path)), handle_(handle) {}

    std::string path_;
    int handle_;
};

}  // namespace vx
