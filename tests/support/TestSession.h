#pragma once

#include <memory>
#include <string>

#include "storage/Session.h"

namespace vx::test {

// A session on the shipped catalogue and the preset names of namesFile (the shipped one when
// empty); options.PathNam becomes programDirectory. Null when either cannot be read.
std::unique_ptr<Session> StartTestSession(Interaction& ui, Options& options, const std::string& programDirectory,
                                          const std::string& namesFile = {});

// A whole file as text (empty when it cannot be read), and a file written from text.
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

}  // namespace vx::test
