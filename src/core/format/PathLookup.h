#pragma once

#include <optional>
#include <string>

namespace vx {

// Finds an existing file or directory whatever the case of each component of its path,
// preferring the exact spelling. Returns the path as it exists on disk.
std::optional<std::string> FindPathIgnoringCase(const std::string& path);

// The path to write to: an existing entry's own spelling when one matches, else the path as given.
std::string ResolveForWrite(const std::string& path);

// Both separators are accepted in paths the user or a set name gives.
std::string NormaliseSeparators(const std::string& path);

// Whether a path names a set directory: its last component ends in ".SET" (any case), trailing
// separators aside.
bool IsSetDirectoryName(const std::string& path);

}  // namespace vx
