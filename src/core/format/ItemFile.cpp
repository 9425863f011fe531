#include "core/format/ItemFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "core/catalogue/Catalogue.h"
#include "core/format/PathLookup.h"
#include "core/text/Helpers.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace fs = std::filesystem;

namespace vx {

namespace {

constexpr std::size_t kHeaderBytes = 8;
constexpr std::string_view kMagic = "VEMOX";

enum class OpenResult { Ok, NotFound, CannotOpen, ReadError };

#if !defined(_WIN32)
// One open, one status query and one read of the start: a set is eight files, and every call
// to the system counts when a set is opened. Non-blocking, so a pipe of that name cannot hang us.
OpenResult OpenAndReadStart(const std::string& path, int& descriptor, std::size_t& size, Bytes& held) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? OpenResult::NotFound : OpenResult::CannotOpen;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return OpenResult::CannotOpen;
    }
    descriptor = fd;
    size = static_cast<std::size_t>(std::max<off_t>(status.st_size, 0));
    // At least the header is asked for: some files report no size but have content.
    held.resize(std::min(std::max(size, kHeaderBytes), ItemFile::kHeldBytes));
    std::size_t got = 0;
    while (got < held.size()) {
        const ssize_t n = ::pread(fd, held.data() + got, held.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            descriptor = -1;
            return OpenResult::ReadError;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    // A file that fits in the held start is what was read (it may have changed since the
    // status query); a larger one is read on from the file and checked then.
    held.resize(got);
    if (got < ItemFile::kHeldBytes) size = got;
    return OpenResult::Ok;
}

bool ReadAt(int descriptor, std::size_t offset, std::size_t count, std::uint8_t* out) {
    while (count > 0) {
        const ssize_t n = ::pread(descriptor, out, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // the file changed under us: refuse rather than invent bytes
        out += n;
        offset += static_cast<std::size_t>(n);
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

void CloseDescriptor(int descriptor) {
    if (descriptor >= 0) ::close(descriptor);
}
#else
// Without positioned reads the whole file is read at once, up to one byte past the limit.
OpenResult OpenAndReadStart(const std::string& path, int& descriptor, std::size_t& size, Bytes& held) {
    descriptor = -1;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return OpenResult::NotFound;
    if (!fs::is_regular_file(status)) return OpenResult::CannotOpen;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return OpenResult::CannotOpen;
    held.resize(std::min<std::size_t>(static_cast<std::size_t>(fs::file_size(path, ec)), kMaxItemFileBytes + 1));
    held.resize(std::fread(held.data(), 1, held.size(), file));
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    size = held.size();
    return failed ? OpenResult::ReadError : OpenResult::Ok;
}

bool ReadAt(int, std::size_t, std::size_t, std::uint8_t*) { return false; }
void CloseDescriptor(int) {}
#endif

bool HeaderIsValid(const std::uint8_t* content, std::size_t size, ItemKind kind) {
    if (size < kHeaderBytes) return false;
    if (std::memcmp(content, kMagic.data(), kMagic.size()) != 0) return false;
    return !IsSetKind(kind) || content[6] == KindHeaderByte(kind);
}

}  // namespace

ItemFile::ItemFile(std::string path, const Bytes& content)
    : path_(std::move(path)), held_(content), size_(content.size()) {}

ItemFile::ItemFile(ItemFile&& other) noexcept
    : path_(std::move(other.path_)),
      held_(std::move(other.held_)),
      size_(other.size_),
      descriptor_(std::exchange(other.descriptor_, -1)),
      complete_(other.complete_) {}

ItemFile& ItemFile::operator=(ItemFile&& other) noexcept {
    if (this != &other) {
        CloseDescriptor(descriptor_);
        path_ = std::move(other.path_);
        held_ = std::move(other.held_);
        size_ = other.size_;
        descriptor_ = std::exchange(other.descriptor_, -1);
        complete_ = other.complete_;
    }
    return *this;
}

ItemFile::~ItemFile() { CloseDescriptor(descriptor_); }

bool ItemFile::Read(std::size_t offset, std::size_t count, std::uint8_t* out) const {
    if (offset > size_ || count > size_ - offset) return false;
    if (count == 0) return true;
    // What lies in the held start is copied; the rest comes from the file.
    const std::size_t fromHeld = offset < held_.size() ? std::min(count, held_.size() - offset) : 0;
    if (fromHeld > 0) std::memcpy(out, held_.data() + offset, fromHeld);
    if (fromHeld == count) return true;
    return ReadAt(descriptor_, offset + fromHeld, count - fromHeld, out + fromHeld);
}

bool ItemFile::ReadByte(std::size_t offset, std::uint8_t& out) const { return Read(offset, 1, &out); }

bool ItemFile::ReadWord(std::size_t offset, std::uint16_t& out) const {
    std::uint8_t pair[2];
    if (!Read(offset, 2, pair)) return false;
    out = static_cast<std::uint16_t>(pair[0] | (pair[1] << 8));
    return true;
}

bool ItemFile::ReadInto(std::size_t offset, std::size_t count, Bytes& out) const {
    if (offset > size_ || count > size_ - offset) return false;
    const std::size_t before = out.size();
    out.resize(before + count);
    if (Read(offset, count, out.data() + before)) return true;
    out.resize(before);
    return false;
}

LoadError ItemFile::ReadFault(ItemKind kind, std::size_t offset, std::size_t count, const std::string& part) const {
    if (offset > size_ || count > size_ - offset)
        return Fault(kind, offset, "the file is " + std::to_string(size_) + " bytes long, too short for " + part);
    return Fault(kind, offset, part + " can't be read");
}

LoadError ItemFile::Fault(ItemKind kind, std::size_t offset, std::string what) const {
    return LoadError{kind, path_, offset, std::move(what)};
}

std::string ItemFileName(const std::string& basePath, ItemKind kind) {
    const std::string name = basePath + std::string(KindExtension(kind));
    return FindPathIgnoringCase(name).value_or(name);
}

Loaded<ItemFile> OpenItemFile(const std::string& basePath, ItemKind kind) {
    return OpenItemFileNamed(basePath + std::string(KindExtension(kind)), kind);
}

Loaded<ItemFile> OpenItemFileNamed(const std::string& fileName, ItemKind kind) {
    // Messages name the file as it is spelled on disk when it was found, else as it was asked for.
    std::string path = fileName;

    ItemFile file;
    OpenResult result = OpenAndReadStart(path, file.descriptor_, file.size_, file.held_);
    if (result == OpenResult::NotFound) {
        // Sets come from other systems: the file may be there under another case.
        if (auto found = FindPathIgnoringCase(path); found && *found != path) {
            path = *found;
            result = OpenAndReadStart(path, file.descriptor_, file.size_, file.held_);
        }
    }
    const auto wholeFileFault = [&](std::string what) {
        return LoadError{kind, path, LoadError::kWholeFile, std::move(what)};
    };
    switch (result) {
        case OpenResult::Ok:
            break;
        case OpenResult::NotFound:
            return wholeFileFault("File " + path + " not found");
        case OpenResult::CannotOpen:
            return wholeFileFault("Can't open file " + path);
        case OpenResult::ReadError:
            return wholeFileFault("Error reading " + path + " file header");
    }
    if (!HeaderIsValid(file.held_.data(), file.held_.size(), kind)) return wholeFileFault(path + " is not a valid file");
    file.path_ = std::move(path);
    if (file.size_ > kMaxItemFileBytes) {
        file.complete_ = false;
        file.size_ = kMaxItemFileBytes;
        if (file.held_.size() > kMaxItemFileBytes) file.held_.resize(kMaxItemFileBytes);
    }
    return Loaded<ItemFile>(std::move(file));
}

}  // namespace vx
