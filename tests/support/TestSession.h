#pragma once

#include <memory>

#include "document/Options.h"
#include "storage/Session.h"

namespace vx::test {

// A session on the shipped template and preset names beside the built programs; nullptr
// (with a test failure) when they cannot be read.
std::unique_ptr<Session> MakeSession(Interaction& ui, Options& options);

}  // namespace vx::test
