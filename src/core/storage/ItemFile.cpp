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

// Reads at most kMaxItemFileBytes; the buffer grows with what actually arrives, so a size
// the file system reports is never trusted for an allocation.
bool ReadAtMost(std::FILE* file, Bytes& content) {
    constexpr std::size_t kChunk = 64 * 1024;
    content.clear();
    while (content.size() < kMaxItemFileBytes) {
        const std::size_t want = std::min(kChunk, kMaxItemFileBytes - content.size());
        const std::size_t had = content.size();
        content.resize(had + want);
        const std::size_t got = std::fread(content.data() + had, 1, want, file);
        content.resize(had + got);
        if (got < want) return !std::ferror(file);
    }
    return true;
}

bool HeaderIsValid(const Bytes& content, ItemKind kind) {
    if (content.size() < kHeaderBytes) return false;
    if (std::memcmp(content.data(), kMagic.data(), kMagic.size()) != 0) return false;
    return !IsSetKind(kind) || content[6] == KindHeaderByte(kind);
}

}  // namespace

bool ItemFile::Read(std::size_t offset, std::size_t count, std::uint8_t* out) const {
    if (offset > content_.size() || count > content_.size() - offset) return false;
    if (count > 0) std::memcpy(out, content_.data() + offset, count);
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
    if (offset > content_.size() || count > content_.size() - offset) return false;
    const auto first = content_.begin() + static_cast<std::ptrdiff_t>(offset);
    out.insert(out.end(), first, first + static_cast<std::ptrdiff_t>(count));
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
    Bytes content;
    if (!ReadAtMost(file.get(), content)) {
        ShowError(ui, "Error reading " + shown + " file header");
        return std::nullopt;
    }
    if (!HeaderIsValid(content, kind)) {
        ShowError(ui, shown + " is not a valid file");
        return std::nullopt;
    }
    return ItemFile(path, std::move(content));
}

}  // namespace vx
