#pragma once

#include <string>

namespace vx::test {

// The text of an expected-output file under tests/data. With VX_UPDATE_GOLDEN=1 in the
// environment the file is first rewritten from actual, to be reviewed with git diff.
std::string Golden(const std::string& name, const std::string& actual);

// Replaces every occurrence of a directory by a short name, so that a transcript does not
// depend on where it is made.
inline std::string Shorten(std::string text, const std::string& directory, const std::string& name) {
    for (std::size_t at = 0; !directory.empty() && (at = text.find(directory, at)) != std::string::npos;
         at += name.size())
        text.replace(at, directory.size(), name);
    return text;
}

}  // namespace vx::test
