#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vx::test {

// Directory of the built programs, where the shipped data lies.
inline std::string ProgramDir() { return VX_PROGRAM_DIR; }
inline std::string SourceDir() { return VX_SOURCE_DIR; }

// A whole file's bytes (empty when it cannot be read), and a file written from bytes.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// The names in a directory, sorted (hidden ones too, but the lock of an open set): shows any file a
// save left behind.
std::vector<std::string> Listing(const std::filesystem::path& directory);
// The eight file names of a set, sorted as Listing sorts them: NAME.ARG ... NAME.STY.
std::vector<std::string> SetFileNames(const std::string& name);

// A fresh directory for one test, removed when it goes out of scope.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string Str() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

}  // namespace vx::test
