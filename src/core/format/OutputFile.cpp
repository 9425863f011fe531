#include "core/format/OutputFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

#include "core/format/ItemFileSave.h"
#include "core/text/Helpers.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

// More links than this in a row is a loop.
constexpr int kMaxLinks = 40;

#if !defined(_WIN32)
// Writes into a device or a FIFO without creating, truncating or renaming anything. A FIFO
// without a reader would block the open for ever: non-blocking, it fails at once instead.
bool WriteIntoStream(const std::string& path, bool fifo, const Bytes& content, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = fifo && errno == ENXIO ? "No program is reading from " + path + "."
                                       : "Can't open " + path + ": " + SystemErrorText(errno);
        return false;
    }
    // Once open, the writes wait for the reader as a pipe's writes do.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = ::write(fd, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            error = "Error writing to " + path + ": " + SystemErrorText(written < 0 ? errno : EIO);
            ::close(fd);
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    if (::close(fd) != 0 && errno != EINTR) {
        error = "Error writing to " + path + ": " + SystemErrorText(errno);
        return false;
    }
    return true;
}
#endif

}  // namespace

std::string FollowLinks(const std::string& path) {
    fs::path current(path);
    std::error_code ec;
    for (int i = 0; i < kMaxLinks && fs::is_symlink(current, ec); ++i) {
        const fs::path target = fs::read_symlink(current, ec);
        if (ec) break;
        current = (target.is_absolute() ? target : current.parent_path() / target).lexically_normal();
    }
    return current.string();
}

bool WriteOutputFile(const std::string& path, const Bytes& content, std::string& error) {
    std::error_code ec;
#if !defined(_WIN32)
    // Asked of the system first: a link such as /dev/stdout may lead to a pipe that has no path.
    const fs::file_status reached = fs::status(path, ec);
    if (!ec && (fs::is_character_file(reached) || fs::is_fifo(reached)))
        return WriteIntoStream(path, fs::is_fifo(reached), content, error);
    ec.clear();
#endif
    const std::string target = FollowLinks(path);
    const fs::file_status status = fs::symlink_status(target, ec);
    if (ec || !fs::exists(status)) return WriteFileAtomically(target, content, error);
    if (fs::is_regular_file(status)) {
        // Permission bits, not access(): a program running as root may write anything.
        if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) {
            error = "Destination file is Read-Only!";
            return false;
        }
        return WriteFileAtomically(target, content, error);
    }
    error = fs::is_directory(status) ? "This is a directory." : "This is not a file.";
    return false;
}

}  // namespace vx
