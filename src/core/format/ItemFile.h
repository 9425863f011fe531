#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "catalogue/ItemKind.h"
#include "format/ByteRecord.h"

namespace vx {

class Interaction;

// The largest item file the program reads; a bigger file cannot be a set file.
inline constexpr std::size_t kMaxItemFileBytes = 8u * 1024u * 1024u;

// An item file whose header was checked, held in memory for reading by explicit offset.
// Every read is checked against the file: a read past the end fails instead of inventing data.
class ItemFile {
public:
    // The file's bytes as read; the buffer is not cleared before the read fills it.
    using Buffer = std::unique_ptr<std::uint8_t[]>;

    ItemFile(std::string path, Buffer content, std::size_t size, bool complete = true)
        : path_(std::move(path)), content_(std::move(content)), size_(size), complete_(complete) {}
    ItemFile(std::string path, const Bytes& content);

    const std::string& Path() const { return path_; }
    std::size_t Size() const { return size_; }
    std::span<const std::uint8_t> Content() const { return {content_.get(), size_}; }
    // False when the file is larger than any item file can be and only its start was read:
    // such a file is never loaded, since saving it back would shorten it.
    bool Complete() const { return complete_; }

    bool Read(std::size_t offset, std::size_t count, std::uint8_t* out) const;
    bool ReadByte(std::size_t offset, std::uint8_t& out) const;
    bool ReadWord(std::size_t offset, std::uint16_t& out) const;  // little-endian
    // Appends count bytes at offset to out.
    bool ReadInto(std::size_t offset, std::size_t count, Bytes& out) const;

private:
    std::string path_;
    Buffer content_;
    std::size_t size_ = 0;
    bool complete_ = true;
};

// The file name of an item: base path followed by the kind's extension. When a file of
// that name exists in another case (sets come from other systems), that file's own name.
std::string ItemFileName(const std::string& basePath, ItemKind kind);

// Opens an item file by base path and kind and checks its header: "VEMOX" and, for set
// kinds only, the kind byte at offset 6. On failure shows one of the four messages
// (title "Error", critical icon, OK) and returns nothing.
std::optional<ItemFile> OpenItemFile(const std::string& basePath, ItemKind kind, Interaction& ui);

}  // namespace vx
