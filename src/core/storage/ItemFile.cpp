#include "storage/ItemFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "catalogue/Catalogue.h"
#include "document/Helpers.h"
#include "document/KindErrors.h"
#include "storage/PathLookup.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

constexpr std::size_t kHeaderBytes = 8;
constexpr std::string_view kMagic = "VEMOX";

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
    const std::string path = ItemFileName(basePath, kind);

    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        ShowError(ui, "File " + shown + " not found");
        return std::nullopt;
    }
    // A directory of that name can never be read as a file, and a pipe would block the reader.
    if (!fs::is_regular_file(status)) {
        ShowError(ui, "Can't open file " + shown);
        return std::nullopt;
    }
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        ShowError(ui, "Can't open file " + shown);
        return std::nullopt;
    }
    ItemFile::Buffer content;
    std::size_t size = 0;
    if (!ReadAtMost(file.get(), content, size)) {
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
