#pragma once

#include <string>

namespace vx::test {

// The text of an expected-output file under tests/data. With VX_UPDATE_GOLDEN=1 in the
// environment the file is first rewritten from actual, to be reviewed with git diff.
std::string Golden(const std::string& name, const std::string& actual);

}  // namespace vx::test
