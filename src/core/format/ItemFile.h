#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/catalogue/ItemKind.h"
#include "core/format/ByteRecord.h"
#include "core/format/LoadError.h"

namespace vx {

// The largest item file the program reads; a bigger file cannot be a set file.
inline constexpr std::size_t kMaxItemFileBytes = 8u * 1024u * 1024u;

// An item file whose header was checked, read by explicit offset. The start of the file is
// held in memory for the many small reads of headers and records; the rest is read from the
// open file straight into the caller's buffers, so each byte of a large file is copied once.
// Every read is checked against the file: a read past the end fails instead of inventing data.
class ItemFile {
public:
    // A file held wholly in memory (tests, fuzzing, a file that was read some other way).
    ItemFile(std::string path, const Bytes& content);
    ItemFile(ItemFile&&) noexcept;
    ItemFile& operator=(ItemFile&&) noexcept;
    ~ItemFile();

    const std::string& Path() const { return path_; }
    std::size_t Size() const { return size_; }
    // False when the file is larger than any item file can be: such a file is never loaded,
    // since saving it back would shorten it.
    bool Complete() const { return complete_; }

    bool Read(std::size_t offset, std::size_t count, std::uint8_t* out) const;
    bool ReadByte(std::size_t offset, std::uint8_t& out) const;
    bool ReadWord(std::size_t offset, std::uint16_t& out) const;  // little-endian
    // Appends count bytes at offset to out; out is unchanged when the read fails.
    bool ReadInto(std::size_t offset, std::size_t count, Bytes& out) const;

    // Why a read of count bytes of part ("the header") at offset failed: the file ends before
    // them, or they could not be read.
    LoadError ReadFault(ItemKind kind, std::size_t offset, std::size_t count, const std::string& part) const;
    // A fault in what was read at offset.
    LoadError Fault(ItemKind kind, std::size_t offset, std::string what) const;

    // The start of the file held in memory; reads beyond it go to the open file.
    static constexpr std::size_t kHeldBytes = 64 * 1024;

private:
    friend Loaded<ItemFile> OpenItemFileNamed(const std::string& fileName, ItemKind kind);
    ItemFile() = default;

    std::string path_;
    Bytes held_;  // the first min(size, kHeldBytes) bytes, or the whole file without a descriptor
    std::size_t size_ = 0;
    int descriptor_ = -1;
    bool complete_ = true;
};

// The file name of an item: base path followed by the kind's extension. When no file of that
// exact name exists but one does in another case (sets come from other systems), that file's name.
std::string ItemFileName(const std::string& basePath, ItemKind kind);

// Opens an item file by base path and kind and checks its header: "VEMOX" and, for set
// kinds only, the kind byte at offset 6. On failure the reason is a fault of the whole file,
// one of the four file messages the caller shows (title "Error", critical icon, OK).
Loaded<ItemFile> OpenItemFile(const std::string& basePath, ItemKind kind);
// The same for a whole file name, used as given when it exists, else looked up ignoring case.
Loaded<ItemFile> OpenItemFileNamed(const std::string& fileName, ItemKind kind);

}  // namespace vx
