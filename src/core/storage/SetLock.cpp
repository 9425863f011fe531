// The one file that knows how the system locks a file. POSIX systems use flock(), whose locks
// belong to the open file and vanish when the process ends; on Windows the same shape holds with
// CreateFileW and LockFileEx(LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY) on the handle.
#include "core/storage/SetLock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "core/text/Helpers.h"

namespace vx {

namespace {

constexpr auto kRetryPause = std::chrono::milliseconds(50);
constexpr std::size_t kLongestField = 64;

std::string ProgramName() {
#ifdef __GLIBC__
    return program_invocation_short_name;
#else
    return "another program";
#endif
}

std::string HostName() {
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0) return "this computer";
    return host;
}

// The lock file comes from the set directory, so only a short printable part of each line is shown.
std::string Printable(const std::string& text) {
    std::string shown;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F &&
            shown.size() < kLongestField)
            shown += c;
    return shown;
}

std::string ReadHolder(int handle) {
    char buffer[512];
    const ssize_t got = pread(handle, buffer, sizeof buffer, 0);
    if (got <= 0) return "another program";
    std::string lines[3];
    std::size_t line = 0;
    for (ssize_t i = 0; i < got && line < 3; ++i) {
        if (buffer[i] == '\n')
            ++line;
        else
            lines[line] += buffer[i];
    }
    const std::string program = Printable(lines[0]);
    const std::string process = Printable(lines[1]);
    const std::string host = Printable(lines[2]);
    if (program.empty() || process.empty()) return "another program";
    return program + " (process " + process + (host.empty() ? "" : " on " + host) + ")";
}

void WriteHolder(int handle) {
    const std::string identity = ProgramName() + "\n" + std::to_string(getpid()) + "\n" + HostName() + "\n";
    // A lock file another user made may be readable only; the lock holds without the name.
    if (ftruncate(handle, 0) == 0) {
        const ssize_t written = pwrite(handle, identity.data(), identity.size(), 0);
        (void)written;
    }
}

// Whether the open file is still the one the path names: a holder removes the file as it lets go.
bool StillNamed(int handle, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return fstat(handle, &opened) == 0 && lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

}  // namespace

std::string SetLock::LockFileName(const std::string& name) { return "." + ToUpper(name) + ".lock"; }

SetLock::Result SetLock::Acquire(const std::string& directory, const std::string& name, double waitSeconds) {
    const std::string path = directory + "/" + LockFileName(name);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(waitSeconds);
    bool replacedLink = false;
    for (;;) {
        int handle = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (handle < 0 && errno == EACCES) handle = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (handle < 0 && errno == ELOOP && !replacedLink) {
            // A link in the lock file's place (a set from elsewhere) is never followed.
            replacedLink = true;
            unlink(path.c_str());
            continue;
        }
        if (handle < 0) return {};

        if (flock(handle, LOCK_EX | LOCK_NB) == 0) {
            if (!StillNamed(handle, path)) {
                close(handle);
                continue;
            }
            WriteHolder(handle);
            return {Outcome::Locked, std::unique_ptr<SetLock>(new SetLock(path, handle)), {}};
        }
        const int failure = errno;
        std::string holder = ReadHolder(handle);
        close(handle);
        // A file system without locks cannot tell; the set is used as before.
        if (failure != EWOULDBLOCK) return {};
        if (std::chrono::steady_clock::now() >= deadline) return {Outcome::Held, nullptr, std::move(holder)};
        std::this_thread::sleep_for(kRetryPause);
    }
}

SetLock::~SetLock() {
    // Removed while still held, so a program waiting on this file sees it gone and makes a new one.
    unlink(path_.c_str());
    close(handle_);
}

}  // namespace vx
