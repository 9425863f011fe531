#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "core/catalogue/ItemKind.h"

namespace vx {

// Why an item file could not be read: which kind and file, where in the file, and what was
// wrong there. Its text is the detail line of "Error getting <kind> data.".
struct LoadError {
    // The offset of a fault of the file as a whole (missing, unreadable, a wrong header), whose
    // what is a whole sentence naming the file.
    static constexpr std::size_t kWholeFile = static_cast<std::size_t>(-1);

    ItemKind kind = ItemKind::Arrangement;
    std::string file;
    std::size_t offset = kWholeFile;
    std::string what;

    bool WholeFile() const { return offset == kWholeFile; }
    // "FILE at byte OFFSET: WHAT", or what alone for a fault of the whole file.
    std::string Text() const;
    // The detail line of "Error getting <kind> data.": the text, except for a fault of the whole
    // file, which has its own message just before and is not said twice.
    std::string Detail() const;
};

// What reading an item file came to: true when it was read, else the reason it was not.
class [[nodiscard]] LoadStatus {
public:
    LoadStatus() = default;
    LoadStatus(LoadError error) : error_(std::move(error)) {}  // NOLINT: a reason is a failed load

    explicit operator bool() const { return !error_.has_value(); }
    const LoadError& Error() const { return *error_; }

private:
    std::optional<LoadError> error_;
};

// A value read from an item file, or the reason it could not be.
template <typename T>
class [[nodiscard]] Loaded {
public:
    Loaded(T value) : value_(std::move(value)) {}          // NOLINT: the value read
    Loaded(LoadError error) : error_(std::move(error)) {}  // NOLINT: the reason it was not
    Loaded(LoadStatus failed) : error_(failed.Error()) {}  // NOLINT: only a failed status

    explicit operator bool() const { return value_.has_value(); }
    bool has_value() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const LoadError& Error() const { return *error_; }

private:
    std::optional<T> value_;
    std::optional<LoadError> error_;
};

}  // namespace vx
