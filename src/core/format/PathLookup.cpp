#include "core/format/PathLookup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/text/Helpers.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
}

std::string Join(const std::string& directory, const std::string& name) {
    if (directory.empty()) return name;
    if (directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

// The entry of directory whose name matches name ignoring case; the first in sorted order
// when several do, so the choice does not depend on the order the file system lists them.
std::optional<std::string> MatchInDirectory(const std::string& directory, const std::string& name) {
    const std::string wanted = ToUpper(name);
    std::vector<std::string> matches;
    std::error_code ec;
    fs::directory_iterator it(directory.empty() ? fs::path(".") : fs::path(directory), ec);
    const fs::directory_iterator end;
    while (!ec && it != end) {
        std::string entry = it->path().filename().string();
        if (ToUpper(entry) == wanted) matches.push_back(std::move(entry));
        it.increment(ec);
    }
    if (matches.empty()) return std::nullopt;
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::optional<std::string> FindPathIgnoringCase(const std::string& path) {
    if (path.empty()) return std::nullopt;
    if (Exists(path)) return path;

    std::string resolved = path.front() == '/' ? "/" : "";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string component = path.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == "." || component == "..") {
            if (!component.empty()) resolved = Join(resolved, component);
            continue;
        }
        std::string exact = Join(resolved, component);
        if (Exists(exact)) {
            resolved = std::move(exact);
            continue;
        }
        auto match = MatchInDirectory(resolved, component);
        if (!match) return std::nullopt;
        resolved = Join(resolved, *match);
    }
    return resolved;
}

std::string ResolveForWrite(const std::string& path) {
    if (auto existing = FindPathIgnoringCase(path)) return *existing;
    const std::size_t separator = path.find_last_of('/');
    if (separator == std::string::npos || separator == 0) return path;
    const std::string parent = path.substr(0, separator);
    return FindPathIgnoringCase(parent).value_or(parent) + path.substr(separator);
}

std::string NormaliseSeparators(const std::string& path) {
    std::string normal = path;
    std::replace(normal.begin(), normal.end(), '\\', '/');
    return normal;
}

bool IsSetDirectoryName(const std::string& path) {
    std::string trimmed = NormaliseSeparators(path);
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    if (trimmed.size() <= 4) return false;
    std::string extension = trimmed.substr(trimmed.size() - 4);
    for (char& c : extension) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return extension == ".SET" && trimmed[trimmed.size() - 5] != '/';
}

}  // namespace vx
