#include "format/ItemFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "catalogue/Catalogue.h"
#include "document/Helpers.h"
#include "document/KindErrors.h"
#include "format/PathLookup.h"

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

enum class ReadResult { Ok, NotFound, CannotOpen, ReadError };

#if !defined(_WIN32)
// One open, one status query and the reads: a set is eight files, and every call to the
// system counts when a set is opened. Non-blocking, so a pipe of that name cannot hang us.
ReadResult ReadWholeFile(const std::string& path, ItemFile::Buffer& content, std::size_t& size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? ReadResult::NotFound : ReadResult::CannotOpen;
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return ReadResult::CannotOpen;

    // The reported size is only a first guess (a file may change while it is read); what
    // counts is what arrives, up to one byte more than the limit, which tells a file too large.
    constexpr std::size_t kLimit = kMaxItemFileBytes + 1;
    std::size_t capacity = std::min(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)) + 1, kLimit);
    content.reset(new std::uint8_t[capacity]);
    size = 0;
    while (true) {
        const ssize_t got = ::read(fd, content.get() + size, capacity - size);
        if (got < 0) {
            if (errno == EINTR) continue;
            return ReadResult::ReadError;
        }
        if (got == 0) return ReadResult::Ok;
        size += static_cast<std::size_t>(got);
        if (size < capacity) continue;
        if (capacity >= kLimit) return ReadResult::Ok;
        const std::size_t larger = std::min(capacity * 2, kLimit);
        ItemFile::Buffer grown(new std::uint8_t[larger]);
        std::memcpy(grown.get(), content.get(), size);
        content = std::move(grown);
        capacity = larger;
    }
}
#else
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads at most one byte more than kMaxItemFileBytes, which tells a file that is too large.
// The size the file system reports is only a first guess for the buffer (a file may grow or
// shrink while it is read); what counts is what arrives. The buffer is not cleared first:
// loading a set costs little more than reading its bytes.
bool ReadAtMost(std::FILE* file, ItemFile::Buffer& content, std::size_t& size) {
    constexpr std::size_t kLimit = kMaxItemFileBytes + 1;
    std::size_t capacity = 64 * 1024;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long end = std::ftell(file);
        if (end > 0) capacity = static_cast<std::size_t>(end) + 1;
        std::rewind(file);
    }
    capacity = std::min(capacity, kLimit);
    content.reset(new std::uint8_t[capacity]);
    size = 0;
    while (true) {
        size += std::fread(content.get() + size, 1, capacity - size, file);
        if (size < capacity || capacity >= kLimit) break;
        const std::size_t larger = std::min(capacity * 2, kLimit);
        ItemFile::Buffer grown(new std::uint8_t[larger]);
        std::memcpy(grown.get(), content.get(), size);
        content = std::move(grown);
        capacity = larger;
    }
    return !std::ferror(file);
}

ReadResult ReadWholeFile(const std::string& path, ItemFile::Buffer& content, std::size_t& size) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return ReadResult::NotFound;
    if (!fs::is_regular_file(status)) return ReadResult::CannotOpen;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return ReadResult::CannotOpen;
    return ReadAtMost(file.get(), content, size) ? ReadResult::Ok : ReadResult::ReadError;
}
#endif

bool HeaderIsValid(const std::uint8_t* content, std::size_t size, ItemKind kind) {
    if (size < kHeaderBytes) return false;
    if (std::memcmp(content, kMagic.data(), kMagic.size()) != 0) return false;
    return !IsSetKind(kind) || content[6] == KindHeaderByte(kind);
}

}  // namespace

ItemFile::ItemFile(std::string path, const Bytes& content)
    : path_(std::move(path)), content_(new std::uint8_t[content.size() + 1]), size_(content.size()) {
    if (!content.empty()) std::memcpy(content_.get(), content.data(), content.size());
}

bool ItemFile::Read(std::size_t offset, std::size_t count, std::uint8_t* out) const {
    if (offset > size_ || count > size_ - offset) return false;
    if (count > 0) std::memcpy(out, content_.get() + offset, count);
    return true;
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
    const std::uint8_t* first = content_.get() + offset;
    out.insert(out.end(), first, first + count);
    return true;
}

std::string ItemFileName(const std::string& basePath, ItemKind kind) {
    const std::string name = basePath + std::string(KindExtension(kind));
    return FindPathIgnoringCase(name).value_or(name);
}

std::optional<ItemFile> OpenItemFile(const std::string& basePath, ItemKind kind, Interaction& ui) {
    // Messages name the file as it was asked for, in upper case, whatever its case on disk.
    const std::string shown = ToUpper(basePath + std::string(KindExtension(kind)));
    std::string path = basePath + std::string(KindExtension(kind));

    ItemFile::Buffer content;
    std::size_t size = 0;
    ReadResult result = ReadWholeFile(path, content, size);
    if (result == ReadResult::NotFound) {
        // Sets come from other systems: the file may be there under another case.
        if (auto found = FindPathIgnoringCase(path); found && *found != path) {
            path = *found;
            result = ReadWholeFile(path, content, size);
        }
    }
    switch (result) {
        case ReadResult::Ok:
            break;
        case ReadResult::NotFound:
            ShowError(ui, "File " + shown + " not found");
            return std::nullopt;
        case ReadResult::CannotOpen:
            ShowError(ui, "Can't open file " + shown);
            return std::nullopt;
        case ReadResult::ReadError:
            ShowError(ui, "Error reading " + shown + " file header");
            return std::nullopt;
    }
    if (!HeaderIsValid(content.get(), size, kind)) {
        ShowError(ui, shown + " is not a valid file");
        return std::nullopt;
    }
    const bool complete = size <= kMaxItemFileBytes;
    return ItemFile(path, std::move(content), complete ? size : kMaxItemFileBytes, complete);
}

}  // namespace vx
